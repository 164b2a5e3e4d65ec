# Two commands set everything up on a fresh Debian 12 machine:
#   make run [ARGS="project.buf /h /s"]   install what is missing, build, start Tresorix
#   make test                             install what is missing, build, run every test
#   make screenshots                      render every window into build/screenshots/
BUILD ?= build
ARGS ?=
JOBS ?= $(shell nproc)

.PHONY: all deps configure build run test screenshots format clean

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

test: build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

screenshots: build
	@tools/screenshots.sh $(BUILD)

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD)
