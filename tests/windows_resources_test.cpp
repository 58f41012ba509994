// Windows: korvex.exe (beside the tests' folder) carries its manifest,
// which runs it as invoker on the Windows versions it names, and its
// version resource, as Explorer's Properties show them.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace {

std::wstring program_path()
{
	wchar_t self[MAX_PATH];
	DWORD n = GetModuleFileNameW(nullptr, self, MAX_PATH);
	std::wstring path(self, n);
	path.erase(path.find_last_of(L"\\/"));             // tests/
	return path.substr(0, path.find_last_of(L"\\/")) + L"\\korvex.exe";
}

TEST(WindowsResources, Manifest)
{
	HMODULE exe = LoadLibraryExW(program_path().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
	ASSERT_NE(exe, nullptr);
	HRSRC res = FindResourceW(exe, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));   // RT_MANIFEST
	ASSERT_NE(res, nullptr);
	std::string manifest((const char *)LockResource(LoadResource(exe, res)), SizeofResource(exe, res));
	for (const char *part : {"level=\"asInvoker\"", "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}", "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}"})
		EXPECT_NE(manifest.find(part), std::string::npos) << part;
	FreeLibrary(exe);
}

TEST(WindowsResources, Version)
{
	std::wstring path = program_path();
	DWORD size = GetFileVersionInfoSizeW(path.c_str(), nullptr);
	ASSERT_GT(size, 0u);
	std::string info(size, '\0');
	ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, size, &info[0]));
	struct { const wchar_t *name, *value; } rows[] = {
		{L"ProductName", L"KORVEX"},
		{L"ProductVersion", L"" KORVEX_VERSION_W},
		{L"FileVersion", L"" KORVEX_VERSION_W},
		{L"LegalCopyright", L"Copyright (C) 2026 Vellumarix. License MIT (LICENSE.txt)."},
		{L"OriginalFilename", L"korvex.exe"},
	};
	for (const auto &r : rows) {
		wchar_t *value = nullptr;
		UINT n = 0;
		std::wstring key = std::wstring(L"\\StringFileInfo\\040904B0\\") + r.name;
		ASSERT_TRUE(VerQueryValueW(info.data(), key.c_str(), (void **)&value, &n)) << r.name[0];
		EXPECT_TRUE(std::wstring(value) == r.value) << (int)r.name[0];
	}
}

} // namespace
