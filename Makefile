# The front door: make test, make demo, make bench, make dist.
SHELL := bash
JOBS ?= $(shell nproc)

FUZZ_SECONDS ?= 600

.PHONY: all test demo bench dist fuzz bootstrap native native-release native32 native32-asan win32 win64 fuzz-build clean

all: native native32 native32-asan win32 win64

bootstrap:
	@scripts/bootstrap.sh

native: bootstrap
	cmake --preset native >/dev/null
	cmake --build --preset native -j $(JOBS)

win32: bootstrap
	cmake --preset win32 >/dev/null
	cmake --build --preset win32 -j $(JOBS)

# The x64 tests install both DLLs through the INF, so win32 comes first.
win64: bootstrap win32
	cmake --preset win64 >/dev/null
	cmake --build --preset win64 -j $(JOBS)

fuzz-build: bootstrap
	cmake --preset fuzz >/dev/null
	cmake --build --preset fuzz -j $(JOBS)

# The x86 code as 32-bit programs, for qemu-i386.
native32: bootstrap
	cmake --preset native32 >/dev/null
	cmake --build --preset native32 -j $(JOBS)

native32-asan: bootstrap
	cmake --preset native32-asan >/dev/null
	cmake --build --preset native32-asan -j $(JOBS)

native-release: bootstrap
	cmake --preset native-release >/dev/null
	cmake --build --preset native-release -j $(JOBS)

test: native native-release native32 native32-asan win32 win64 fuzz-build
	ctest --preset native -j $(JOBS)
	ctest --preset native-release -j $(JOBS)
	ctest --preset native32 -j $(JOBS)
	ctest --preset native32-asan -j $(JOBS)
	ctest --preset fuzz -j $(JOBS)
	scripts/with-display.sh ctest --preset win32
	scripts/with-display.sh ctest --preset win64

# Each fuzzer for FUZZ_SECONDS (default 600), one per core.
fuzz: bootstrap
	cmake --preset fuzz -DLUMACORE_FUZZ_SECONDS=$(FUZZ_SECONDS) >/dev/null
	cmake --build --preset fuzz -j $(JOBS)
	ctest --preset fuzz -j $(JOBS) --timeout $$(( $(FUZZ_SECONDS) + 300 ))
	cmake --preset fuzz -DLUMACORE_FUZZ_SECONDS=runs:100000 >/dev/null

demo: win32 win64
	scripts/with-display.sh scripts/demo.sh

bench: native-release
	scripts/bench.sh build/native-release

dist: win32 win64
	rm -rf dist && mkdir -p dist
	cp build/win64/lumacore.dll dist/lumacore.dll
	cp build/win32/lumacore.dll dist/lumacore32.dll
	cp packaging/lumacore.inf dist/
	cp build/win64/lumacore-avi.exe dist/
	cp build/win64/setwright.exe dist/setwright.exe
	cp build/win32/setwright.exe dist/setwright32.exe
	@ls -l dist

clean:
	rm -rf build dist
