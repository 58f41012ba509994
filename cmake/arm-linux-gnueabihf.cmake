# Cross build for 32-bit ARM Linux, hard float (Debian's g++-arm-linux-gnueabihf):
# Raspberry Pi 2 and later on a 32-bit system. Every float and double
# operation runs on the VFP unit and rounds to its own type.
set(CMAKE_SYSTEM_PROCESSOR armv7l)
set(KORVEX_LINUX_TRIPLET arm-linux-gnueabihf)
set(KORVEX_QEMU qemu-arm)
include(${CMAKE_CURRENT_LIST_DIR}/linux-cross-common.cmake)
