# The two commands of the README:
#   make run   installs what is missing, builds, starts the bundled store and runs the main job
#   make test  installs what is missing, builds and runs every test
BUILD ?= build
FUZZ_BUILD ?= build-fuzz
JOBS ?= $(shell nproc)

.PHONY: all deps build run test fuzz bench clean

all: build

deps:
	@scripts/install-deps.sh

build: deps
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	@scripts/run.sh $(BUILD)/app

test: build
	@cd $(BUILD) && ctest --output-on-failure -j $(JOBS) --timeout 600
	@scripts/fuzz.sh $(FUZZ_BUILD) 10

fuzz: deps
	@scripts/fuzz.sh $(FUZZ_BUILD) 300

bench: build
	@scripts/bench.sh $(BUILD)

clean:
	rm -rf $(BUILD) $(FUZZ_BUILD)
