# Two commands set everything up on a fresh Debian 12 machine:
#   make run [ARGS="project.buf /h /s"]   install what is missing, build, start Tresorix
#   make test                             install what is missing, build, run every test
BUILD ?= build
ARGS ?=
JOBS ?= $(shell nproc)

.PHONY: all deps configure build run test format clean

all: build

deps:
	@tools/install-deps.sh

configure: deps
	@if [ ! -f $(BUILD)/build.ninja ]; then cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo; fi

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	$(BUILD)/trxmain $(ARGS)

test: build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD)
