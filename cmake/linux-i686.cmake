# The host suites as 32-bit Linux programs (Debian's g++-multilib): the portable code with the
# shipped target's sizes (32-bit size_t, long and pointers) and arithmetic (x87 floating point),
# on machines whose Wine cannot run the i686 build. No sanitizers: Debian has none for -m32
# under qemu-i386, where these programs run on a kernel without 32-bit support.
set(CMAKE_C_FLAGS_INIT -m32)
set(CMAKE_CXX_FLAGS_INIT -m32)
set(CMAKE_EXE_LINKER_FLAGS_INIT -m32)
set(CMAKE_SHARED_LINKER_FLAGS_INIT -m32)
set(KESTRUNE_SANITIZE OFF CACHE BOOL "" FORCE)
# The tests' launcher: the program itself where the kernel runs 32-bit code, else qemu-i386.
set(KESTRUNE_TEST_LAUNCHER ${CMAKE_CURRENT_LIST_DIR}/../tools/run-i386)
