# Quorvan: `make run` starts qv.exe under Wine with a simulated phone; `make test` runs every test.
SHELL := /bin/bash
JOBS  ?= $(shell nproc)
B     := build
WIN   := $(B)/win
NAT   := $(B)/native
FUZ   := $(B)/fuzz
FUZZ_SECONDS ?= 20
FUZZ_LONG_SECONDS ?= 600

.PHONY: all deps build build-win build-native build-fuzz test test-native test-wine test-fuzz run fuzz bench dist clean

all: build

deps:
	@bash scripts/install-deps.sh

$(WIN)/CMakeCache.txt:
	cmake -S . -B $(WIN) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_TOOLCHAIN_FILE=cmake/mingw64.cmake

$(NAT)/CMakeCache.txt:
	cmake -S . -B $(NAT) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=g++ -DCMAKE_C_COMPILER=gcc

$(FUZ)/CMakeCache.txt:
	cmake -S . -B $(FUZ) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQV_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_C_COMPILER=clang

build-win: deps $(WIN)/CMakeCache.txt
	cmake --build $(WIN) -j $(JOBS)

build-native: deps $(NAT)/CMakeCache.txt
	cmake --build $(NAT) -j $(JOBS)

build-fuzz: deps $(FUZ)/CMakeCache.txt
	cmake --build $(FUZ) -j $(JOBS)

build: build-native build-win build-fuzz

test-native: build-native
	cd $(NAT) && ctest --output-on-failure -j $(JOBS)

test-wine: build-win build-native
	QV_NATIVE_BUILD=$(NAT) bash scripts/wine-tests.sh $(WIN) -j $(JOBS)

test-fuzz: build-fuzz
	bash scripts/fuzz.sh $(FUZ) $(FUZZ_SECONDS)

test: build
	@B=$(B) JOBS=$(JOBS) FUZZ_SECONDS=$(FUZZ_SECONDS) bash scripts/test-all.sh

fuzz: build-fuzz
	bash scripts/fuzz.sh $(FUZ) $(FUZZ_LONG_SECONDS)

bench: build-native build-win
	bash scripts/bench.sh $(NAT) $(WIN)

run: build-native build-win
	bash scripts/run.sh $(WIN) $(NAT)

# dist/Quorvan-<version>-setup.exe and dist/Quorvan-<version>-portable.zip
dist: build-win
	bash scripts/dist.sh $(WIN) dist

clean:
	rm -rf $(B)
