# Thin wrappers over the scripts and CMake presets.
.PHONY: deps test build bench bench-inventory inventory format clean

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

# Builds the inventory command and prints this machine's inventory.
inventory: deps
	cmake --preset linux
	cmake --build --preset linux --target tessarine-inventory -j $(JOBS)
	build/linux/tessarine-inventory --pretty

# Our inventory against lshw and inxi, timed side by side.
bench-inventory: deps
	scripts/bench-inventory

format:
	find src tests -path tests/page -prune -o \( -name '*.cpp' -o -name '*.h' \) -print | xargs clang-format -i

clean:
	rm -rf build
