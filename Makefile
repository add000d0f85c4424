# The front door: `make run` and `make test`. The builds are the presets of
# CMakePresets.json: release (build/), dev (build-dev/), asan (build-sanitize/).
# `make run` installs and builds only what the program needs; `make test` the
# rest. `make deb` packages the release build; `make install` puts it under
# PREFIX and `make uninstall` removes it again.
JOBS ?= $(shell nproc)
PREFIX ?= /usr/local
# CI turns warnings into errors; a user's build only shows them.
WERROR ?= OFF
CONFIGURE = cmake --log-level=WARNING -DQUILLET_WERROR=$(WERROR)

# A build folder made by another generator cannot be reused by the presets.
fresh-if-not-ninja = if [ -f $(1)/CMakeCache.txt ] && ! grep -q '^CMAKE_GENERATOR:INTERNAL=Ninja$$' $(1)/CMakeCache.txt; then rm -rf $(1); fi

.PHONY: run test deps deps-program program build dev sanitize bench deb install uninstall clean format tidy fuzz

# The Debian packages of scripts/debian-packages.txt: all three lists, or only
# those the program and its package are built from.
deps:
	@bash scripts/install-deps.sh
deps-program:
	@bash scripts/install-deps.sh run build

# The program alone. A first build made for it leaves the tests out
# (BUILD_TESTING=OFF), so that it needs no test packages, until make test.
program: deps-program
	@$(call fresh-if-not-ninja,build)
	@[ -f build/CMakeCache.txt ] || testing=-DBUILD_TESTING=OFF; \
	  $(CONFIGURE) --preset release $$testing >/dev/null
	@cmake --build --preset release --target quillet packaging_docs -j $(JOBS)

build: deps
	@$(call fresh-if-not-ninja,build)
	@$(CONFIGURE) --preset release -DBUILD_TESTING=ON >/dev/null
	@cmake --build --preset release -j $(JOBS)

run: program
	@./build/app/quillet

# Progress on one line, a failing test's output in full, and a word on the
# tests that skip themselves on purpose.
test: build
	@bash scripts/run-tests.sh release build -j $(JOBS)

dev: deps
	@$(call fresh-if-not-ninja,build-dev)
	@$(CONFIGURE) --preset dev >/dev/null
	@cmake --build --preset dev -j $(JOBS)

sanitize: deps
	@$(call fresh-if-not-ninja,build-sanitize)
	@$(CONFIGURE) --preset asan >/dev/null
	@cmake --build --preset asan -j $(JOBS)
	@ctest --preset asan -j $(JOBS)

bench: build
	@$(CONFIGURE) --preset release -DQUILLET_BUILD_BENCHMARKS=ON >/dev/null
	@cmake --build --preset release --target benchmarks -j $(JOBS)
	@bash bench/run-all.sh build

# build/packages/quillet_<version>_<arch>.deb, of the program and its files alone.
deb: program
	@cd build && cpack --config CPackConfig.cmake

install: program
	@bash scripts/install.sh build $(PREFIX)

# Removes what `make install` put in place, as its own records list it: under
# PREFIX when one is given, else under every prefix installed to.
uninstall:
	@bash scripts/uninstall.sh $(if $(filter command line environment,$(origin PREFIX)),$(PREFIX))

clean:
	rm -rf build build-dev build-sanitize build-minimal

# A longer run of the JPEG fuzz target than CI's minute (build-fuzz/; the
# instrumented libjpeg-turbo is built there once): `make fuzz FUZZ_SECONDS=3600`.
FUZZ_SECONDS ?= 1200
fuzz:
	@bash fuzz/run.sh $(FUZZ_SECONDS)

# Formats every C++ file in place with the repository's .clang-format.
format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

# Runs the checks of .clang-tidy over the program's sources (not the tests).
tidy: build
	git ls-files 'app/*.cpp' 'shell/*.cpp' 'listview/*.cpp' 'thumbnails/*.cpp' 'slideshow/*.cpp' 'platform/*.cpp' \
	  | xargs clang-tidy -p build --quiet
