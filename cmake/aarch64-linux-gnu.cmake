# Cross build for 64-bit ARM Linux (Debian's g++-aarch64-linux-gnu).
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(KORVEX_LINUX_TRIPLET aarch64-linux-gnu)
set(KORVEX_QEMU qemu-aarch64)
include(${CMAKE_CURRENT_LIST_DIR}/linux-cross-common.cmake)
