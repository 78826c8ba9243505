# The two commands of the README:
#   make run   installs what is missing, builds, starts the bundled store and runs the main job
#   make test  installs what is missing, builds and runs every test
# and installing for one user:
#   make install [PREFIX=~/.local]              the program under PREFIX, with menu entry and icon
#   make uninstall [PREFIX=~/.local] [PURGE=1]  removes the program (with PURGE=1 the user's data too)
#   make package                                the tarball build/brindle-VERSION-Linux.tar.gz
#   make deb                                    the Debian package build/brindle_VERSION_amd64.deb
BUILD ?= build
FUZZ_BUILD ?= build-fuzz
JOBS ?= $(shell nproc)
# PREFIX and PURGE count only when given on the command line, and the programs that the recipes run
# never see them: a PREFIX exported by the shell must not move the installation (npm reads it too,
# as its global folder), nor a stray PURGE remove the user's data.
ifneq ($(origin PREFIX),command line)
PREFIX := $(HOME)/.local
endif
ifneq ($(origin PURGE),command line)
PURGE :=
endif
unexport PREFIX PURGE

.PHONY: all deps build run test fuzz bench clean install uninstall package deb

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

install: build
	@cmake --install $(BUILD) --prefix "$(PREFIX)" --strip

uninstall:
	@scripts/uninstall.sh "$(PREFIX)" $(if $(filter-out 0,$(PURGE)),--purge)

package: build
	@cd $(BUILD) && cpack

deb: build
	@scripts/make-deb.sh $(BUILD)

clean:
	rm -rf $(BUILD) $(FUZZ_BUILD)
