# Resondix: set-up, build, test and run on a Debian machine.
#   make run             build and start Resondix on the bundled example sounding
#   make test            build and run the whole test suite
#   make test-sanitize   the same tests built with AddressSanitizer + UBSan
#   make fuzz            a short bounded fuzzing run of the file readers (clang)
#   make bench           the benchmarks
#   make package         the Debian package build/resondix_<version>_<arch>.deb
#   make check-install   install into a staging folder, check it and the package
#   make test-windows    the core and its tests cross-built for Windows, run under Wine
# Every target first installs the Debian packages that are missing.

PACKAGES := build-essential cmake libgtest-dev libgmock-dev libbenchmark-dev \
            qt6-base-dev qt6-svg-dev fonts-liberation clang libclang-rt-dev locales \
            dpkg-dev file desktop-file-utils appstream shared-mime-info libglib2.0-bin groff-base \
            xvfb xdotool poppler-utils
# Only make test-windows needs these: MinGW-w64, Wine and GoogleTest's sources.
WINDOWS_PACKAGES := cmake g++-mingw-w64-x86-64-posix wine wine64 googletest
JOBS ?= $(shell nproc)
BUILD ?= build
EXAMPLE ?= examples/three-layer-schlumberger.rxd

SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

.PHONY: deps deps-windows build test test-sanitize fuzz bench package check-install test-windows run clean

# Installs the Debian packages of the list $(1) that are missing.
define install_missing
	@missing=$$(for p in $(1); do dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q '^install ok installed' || echo $$p; done); \
	if [ -n "$$missing" ]; then \
	  echo "Installing:$$missing"; \
	  $(SUDO) apt-get update -q && DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -q $$missing; \
	fi
endef

deps:
	$(call install_missing,$(PACKAGES))
	@# A decimal-comma locale, so that the tests can show that numbers ignore it.
	@locale -a 2>/dev/null | grep -qi '^de_DE.utf8$$' || $(SUDO) localedef -i de_DE -f UTF-8 de_DE.UTF-8 || true

build: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) -j $(JOBS)

test: build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

test-sanitize: deps
	cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=Debug -DRESONDIX_SANITIZE=ON
	cmake --build build-sanitize -j $(JOBS)
	ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
	  ctest --test-dir build-sanitize --output-on-failure -j $(JOBS)

# Each target runs twice, on inputs of up to 64 KB and then of up to 1 MB
# from the start (-len_control=0), where a reader whose time grows faster
# than its input shows; an input that takes longer than FUZZ_TIMEOUT seconds
# is a failure. fuzz_KIND_* targets share the seeds tests/fuzz/corpus/KIND
# and the dictionary tests/fuzz/KIND.dict.
FUZZ_SECONDS ?= 30
FUZZ_TIMEOUT ?= 5
fuzz: deps
	CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DRESONDIX_FUZZ=ON
	cmake --build build-fuzz -j $(JOBS)
	@for target in build-fuzz/tests/fuzz/fuzz_*; do \
	  name=$$(basename $$target); kind=$${name#fuzz_}; kind=$${kind%%_*}; \
	  mkdir -p build-fuzz/corpus-$$name; \
	  for max_len in 65536 1048576; do \
	    echo "== $$name for $(FUZZ_SECONDS) s, inputs of up to $$max_len bytes"; \
	    $$target -max_total_time=$(FUZZ_SECONDS) -max_len=$$max_len -len_control=0 \
	      -timeout=$(FUZZ_TIMEOUT) -rss_limit_mb=2048 -dict=tests/fuzz/$$kind.dict \
	      build-fuzz/corpus-$$name tests/fuzz/corpus/$$kind || exit 1; \
	  done; \
	done

bench: build
	@for b in $(BUILD)/bench/bench_*; do $$b; done

package: build
	cmake --build $(BUILD) --target package

check-install: build
	packaging/check-install $(BUILD)

deps-windows:
	$(call install_missing,$(WINDOWS_PACKAGES))

# The core (document/, engine/), its tests and the fuzz targets' replay of
# their seeds, cross-compiled with MinGW-w64 and run under Wine in a new
# prefix of its own, without a display. Not run under Wine:
# Fit.NoisySoundingsFollowTheirExactPaths pins figures to the last digits of
# glibc's exp and log; the C library of the Windows build (msvcrt.dll, Wine's
# here) rounds about one result in a thousand the other way, which moves one
# poorly determined resistivity by 1.6e-8 where the test allows 1e-9, on the
# same path with the same number of evaluations.
WINDOWS_BUILD ?= build-windows
WINDOWS_NOT_RUN := Fit.NoisySoundingsFollowTheirExactPaths
test-windows: deps-windows
	cmake -S . -B $(WINDOWS_BUILD) --toolchain cmake/mingw-w64-x86_64.cmake -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(WINDOWS_BUILD) -j $(JOBS)
	@# Standard input from /dev/null: with it closed (as CI may run), Wine's
	@# first program waits minutes at its exit.
	@exec </dev/null; prefix=$$(mktemp -d); \
	export WINEPREFIX=$$prefix WINEDEBUG=-all WINEDLLOVERRIDES='mscoree,mshtml='; unset DISPLAY WAYLAND_DISPLAY; \
	trap 'wineserver -k 2>/dev/null; rm -rf "$$prefix"' EXIT; \
	if ! { wineboot --init && wine cmd /c echo Wine ready | grep -q 'Wine ready'; } >$$prefix/boot.log 2>&1; then \
	  cat $$prefix/boot.log; \
	  echo "make test-windows: Wine cannot start on this machine, so the Windows tests did not run." >&2; exit 1; \
	fi; \
	wineserver -p; \
	echo "Not run under Wine: $(WINDOWS_NOT_RUN)"; \
	ctest --test-dir $(WINDOWS_BUILD) --output-on-failure -j $(JOBS) --timeout 300 \
	  -E '^($(subst .,\.,$(WINDOWS_NOT_RUN)))$$'

run: build
	$(BUILD)/app/resondix $(EXAMPLE)

clean:
	rm -rf build build-sanitize build-fuzz $(WINDOWS_BUILD)
