# SPDX-License-Identifier: GPL-3.0-or-later
# Two commands set everything up on a fresh Debian 12 machine:
#   make run [ARGS="project.buf /h /s"]   install what is missing, build, start Tresorix
#   make test                             install what is missing, build, run every test
#   make screenshots                      render every window into build/screenshots/
#   make fuzz [FUZZ_SECONDS=600]          fuzz the project file reader for a while
#   make package                          build the Debian package build/tresorix_<version>_<arch>.deb
BUILD ?= build
ARGS ?=
JOBS ?= $(shell nproc)

FUZZ_SECONDS ?= 600

.PHONY: all deps configure build run test screenshots fuzz package format clean

all: build

deps:
	@tools/install-deps.sh

configure: deps
	@if [ ! -f $(BUILD)/build.ninja ]; then cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo; fi

build: configure
	cmake --build $(BUILD) -j $(JOBS)

# Without ARGS and without a display, tools/run.sh demonstrates an unattended run of an example project.
run: build
	@tools/run.sh $(BUILD) $(ARGS)

# Every test of the normal build, then the core tests under the sanitizers and the fuzz target's round.
test: build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)
	@JOBS=$(JOBS) tools/test-checked.sh

screenshots: build
	@tools/screenshots.sh $(BUILD)

fuzz: deps
	@JOBS=$(JOBS) tools/test-checked.sh fuzz $(FUZZ_SECONDS)

# The Debian package of everything `cmake --install` installs, built with CPack below $(BUILD).
package: build
	cmake --build $(BUILD) --target package

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD) build-asan build-fuzz
