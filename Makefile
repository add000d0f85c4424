# The front door: `make run` and `make test`. The builds are the presets of
# CMakePresets.json: release (build/), dev (build-dev/), asan (build-sanitize/).
# `make deb` packages the release build; `make install` puts it under PREFIX.
JOBS ?= $(shell nproc)
PREFIX ?= /usr/local
# CI turns warnings into errors; a user's build only shows them.
WERROR ?= OFF
CONFIGURE = cmake --log-level=WARNING -DQUILLET_WERROR=$(WERROR)

# A build folder made by another generator cannot be reused by the presets.
fresh-if-not-ninja = if [ -f $(1)/CMakeCache.txt ] && ! grep -q '^CMAKE_GENERATOR:INTERNAL=Ninja$$' $(1)/CMakeCache.txt; then rm -rf $(1); fi

.PHONY: run test deps build dev sanitize bench deb install uninstall clean format tidy fuzz

deps:
	@bash scripts/install-deps.sh

build: deps
	@$(call fresh-if-not-ninja,build)
	@$(CONFIGURE) --preset release >/dev/null
	@cmake --build --preset release -j $(JOBS)

run: build
	@./build/app/quillet

test: build
	@ctest --preset release -j $(JOBS)

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

# build/packages/quillet_<version>_<arch>.deb
deb: build
	@cmake --build --preset release --target package

install: build
	@cmake --install build --prefix $(PREFIX)

# Removes what the last `make install` put in place, as build/install_manifest.txt lists it.
uninstall:
	@if [ -f build/install_manifest.txt ]; then xargs -r -d '\n' rm -fv < build/install_manifest.txt; \
	else echo "Nothing to uninstall: build/install_manifest.txt is made by make install."; fi

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
