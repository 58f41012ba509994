# macOS on Apple Silicon, macOS 11 or later, with Zig (Apple's headers and
# libSystem; the program ad-hoc signed, as Apple Silicon requires).
set(CMAKE_SYSTEM_NAME Darwin)
set(CMAKE_SYSTEM_PROCESSOR arm64)
set(KORVEX_ZIG_TARGET aarch64-macos.11.0)
include(${CMAKE_CURRENT_LIST_DIR}/zig.cmake)
