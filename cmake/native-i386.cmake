# The x86 DLL's code as 32-bit Linux programs, run under qemu-i386 (so they
# run on every machine, whether or not its kernel starts 32-bit programs).
# The baseline is the x86 DLL's own: no SSE2 outside the vector variants.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_C_COMPILER gcc)
set(CMAKE_CXX_COMPILER g++)
set(CMAKE_C_FLAGS_INIT "-m32 -march=pentiumpro")
set(CMAKE_CXX_FLAGS_INIT "-m32 -march=pentiumpro")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-m32")
set(CMAKE_CROSSCOMPILING_EMULATOR qemu-i386)
