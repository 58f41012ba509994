// Fuzz target: arbitrary bytes as a unit's content, read as seven REAL
// items by the list-directed reader, whole and byte by byte (the results
// must agree), then through the console unit with the run-time's own
// statements (which must agree with the reader).
#include "escape.h"
#include "runtime/f2c.h"

#include <string.h>

#include <string>

static bool same_bits(double a, double b) { return memcmp(&a, &b, sizeof a) == 0; }

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
	const std::string text((const char *)data, size);
	seven_values whole = read_seven(text, 0), bytewise = read_seven(text, 1);
	CHECK(whole.status == bytewise.status && whole.items == bytewise.items);
	for (int i = 0; i < whole.items; i++) {
		CHECK(whole.assigned[i] == bytewise.assigned[i]);
		CHECK(!whole.assigned[i] || same_bits(whole.values[i], bytewise.values[i]));
	}

	reset_console(data, size);
	static float targets[7];
	memset(targets, 0, sizeof targets);
	if (setjmp(escape_point) == 0) {
		cilist ci = {0, 5, 0, nullptr, 0};
		integer one = 1, real_type = TYREAL;
		s_rsle(&ci);
		for (float &t : targets)
			do_lio(&real_type, &one, (char *)&t, (ftnlen)sizeof t);
		e_rsle();
		escape_status = 0;
	}
	CHECK((escape_status == 0) == (whole.status == LREAD_OK));
	if (escape_status == 0) {
		for (int i = 0; i < 7; i++) {
			float want = whole.assigned[i] ? (float)whole.values[i] : 0.f;
			CHECK(memcmp(&want, &targets[i], sizeof want) == 0);
		}
	}
	return 0;
}
