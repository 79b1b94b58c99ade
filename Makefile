# Mirvane: `make run` builds and starts the program on the bundled sample; `make test` builds and runs every test.
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=

.PHONY: all deps build test test-main test-asan run fuzz bench clean

all: build

deps:
	@scripts/install-deps

build: deps
	cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DMV_CORE_ONLY=OFF -DMV_SANITIZE=OFF $(CMAKE_FLAGS)
	cmake --build build -j $(JOBS)

test: test-main test-asan

test-main: build
	ctest --test-dir build --output-on-failure -j $(JOBS)

# The core and its tests again with the address and undefined-behaviour sanitizers, so memory errors fail CI.
test-asan: deps
	cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMV_SANITIZE=ON -DMV_CORE_ONLY=ON
	cmake --build build-asan -j $(JOBS)
	ctest --test-dir build-asan --output-on-failure -j $(JOBS)

run: build
	build/bin/mirvane samples/micrograph.png

# libFuzzer targets of the image readers, in a separate clang build (see fuzz/CMakeLists.txt). Run one with
#   nice build-fuzz/bin/fuzz_jpeg -max_total_time=600 build-fuzz/corpus-jpeg fuzz/corpus/jpeg
FUZZ_FLAGS = -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all
fuzz: deps
	cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMV_CORE_ONLY=ON -DMV_FUZZ=ON \
	  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
	  "-DCMAKE_C_FLAGS=$(FUZZ_FLAGS)" "-DCMAKE_CXX_FLAGS=$(FUZZ_FLAGS)"
	cmake --build build-fuzz --target fuzz_targets -j $(JOBS)

# Benchmarks against the peer tools (ImageMagick, libvips, djpeg); see bench/README.md.
bench:
	@scripts/install-deps --bench
	cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DMV_BENCH=ON -DMV_CORE_ONLY=ON
	cmake --build build-bench -j $(JOBS)

clean:
	rm -rf build build-asan build-fuzz build-bench
