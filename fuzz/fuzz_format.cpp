// Fuzz target: F editing against the C library's own conversion (they may
// differ only on an exact half, where F editing goes away from zero), then
// arbitrary format text with F and A items through a WRITE and a READ
// statement (an error in the format must be a diagnostic, never a crash).
#include "escape.h"
#include "runtime/f2c.h"
#include "runtime/fedit.h"

#include <math.h>
#include <stdio.h>
#include <string.h>

#include <string>

namespace {

// F editing of x with the C library's rounding and the same layout rules.
std::string reference(double x, int w, int d)
{
	char text[400];
	snprintf(text, sizeof text, "%#.*f", d, fabs(x));
	std::string s = text;
	if (d > 0 && s[0] == '0')
		s.erase(0, 1);
	if (signbit(x) && s.find_first_of("123456789") != std::string::npos)
		s = "-" + s;
	if ((int)s.size() > w)
		return std::string((size_t)w, '*');
	return std::string((size_t)w - s.size(), ' ') + s;
}

void check_f_edit(double x, int d)
{
	const int w = 16;   // the widest F field
	char out[w];
	f_edit(out, w, d, x);
	std::string got(out, w);
	if (isnan(x) || isinf(x)) {
		CHECK(got.find(isnan(x) ? "NaN" : "Inf") != std::string::npos);
		return;
	}
	std::string want = reference(x, w, d);
	if (got != want)
		CHECK(exact_half(x, d) && got.find('*') == std::string::npos);
}

void run_statement(const std::string &format, const uint8_t *data, size_t size, bool reading)
{
	static char buffer[64];
	static std::string fmt;
	fmt = format;
	if (setjmp(escape_point) != 0)
		return;
	integer one = 1;
	cilist ci = {0, reading ? 5 : 6, 0, fmt.data(), 0};
	if (reading)
		s_rsfe(&ci);
	else
		s_wsfe(&ci);
	for (size_t i = 0; i + 9 <= size && i < 36; i += 9) {
		memcpy(buffer, data + i + 1, 8);
		ftnlen len = data[i] % 3 == 0 ? 4 : data[i] % 3 == 1 ? 8 : (ftnlen)(1 + data[i] % 40);
		do_fio(&one, buffer, len);
	}
	if (reading)
		e_rsfe_name();
	else
		e_wsfe();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
	if (size >= 9) {
		double x;
		float f;
		memcpy(&x, data + 1, sizeof x);
		memcpy(&f, data + 1, sizeof f);
		check_f_edit(x, data[0] % 4);
		check_f_edit(f, data[0] % 4);
	}

	// the format text runs to the first NUL; what follows feeds the items
	const uint8_t *nul = (const uint8_t *)memchr(data, 0, size);
	size_t flen = nul ? (size_t)(nul - data) : size;
	if (flen > 200)
		return 0;
	std::string format((const char *)data, flen);
	int digits = 0;
	for (char c : format)
		digits += c >= '0' && c <= '9';
	if (digits > 6)
		return 0;   // repeat counts could ask for more output than a run should take
	const uint8_t *rest = nul ? nul + 1 : data + size;
	size_t rest_size = (size_t)(data + size - rest);
	reset_console(rest, rest_size);
	run_statement(format, rest, rest_size, false);
	reset_console(rest, rest_size);
	run_statement(format, rest, rest_size, true);
	return 0;
}
