# macOS on Intel, macOS 11 or later, with Zig (Apple's headers and libSystem).
set(CMAKE_SYSTEM_NAME Darwin)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(KORVEX_ZIG_TARGET x86_64-macos.11.0)
include(${CMAKE_CURRENT_LIST_DIR}/zig.cmake)
