# Thin wrappers over the scripts and CMake presets.
.PHONY: deps test build bench format clean

JOBS ?= $(shell nproc)

deps:
	scripts/install-deps

test:
	scripts/test

build: deps
	cmake --preset linux
	cmake --build --preset linux -j $(JOBS)

bench: deps
	cmake --preset linux-release
	cmake --build --preset linux-release -j $(JOBS)
	scripts/run-benchmarks build/linux-release

format:
	find src tests -path tests/page -prune -o \( -name '*.cpp' -o -name '*.h' \) -print | xargs clang-format -i

clean:
	rm -rf build
