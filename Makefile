# make play | make test | make bench | make install | make package | make sanitize | make fuzz
BUILD ?= build
JOBS ?= $(shell nproc)
PACKAGES = build-essential cmake pkg-config googletest libgtest-dev libgmock-dev libbenchmark-dev \
  libsdl2-dev libsdl2-ttf-dev libfontconfig-dev fonts-dejavu-core \
  libespeak-ng-dev espeak-ng-data espeak-ng libspeechd-dev speech-dispatcher wbrazilian xvfb xauth libxtst-dev bc python3 \
  help2man dpkg-dev file
SUDO = $(shell [ "$$(id -u)" = 0 ] || echo sudo)

.PHONY: all deps configure build play test bench clean effects-page screenshot install package sanitize fuzz

all: build

deps:
	@missing=$$(for p in $(PACKAGES); do dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q '^install ok installed' || echo $$p; done); \
	if [ -n "$$missing" ]; then \
	  echo "Instalando pacotes: $$missing"; \
	  $(SUDO) env DEBIAN_FRONTEND=noninteractive apt-get update -q && \
	  $(SUDO) env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends $$missing </dev/null; \
	fi

configure: deps
	@[ -f $(BUILD)/CMakeCache.txt ] || cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release

build: configure
	cmake --build $(BUILD) -j $(JOBS)

# The game runs in the folder of the default score file, so the table a player earns is the
# table read at the next start.
play: build
	@mkdir -p $(BUILD)/root/qorbel
	@cd $(BUILD)/root/qorbel && export TELUMA_ROOT=$(CURDIR)/$(BUILD)/root && \
	  if [ -x $(CURDIR)/$(BUILD)/src/apps/moondrop ]; then exec $(CURDIR)/$(BUILD)/src/apps/moondrop; \
	  else exec $(CURDIR)/$(BUILD)/src/apps/teluma-console; fi

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

bench: build
	cmake --build $(BUILD) -j $(JOBS) --target benchmarks
	cd $(BUILD) && bash bench/run-benchmarks

# Programs in PREFIX/bin, the voice library in PREFIX/lib/teluma, the data tree in
# PREFIX/share/teluma; DESTDIR= stages the whole tree below another folder.
PREFIX ?= /usr/local
install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

# The Debian package: build/moondrop_<version>_<arch>.deb
package: build
	cd $(BUILD) && cpack -G DEB

# The whole suite once more in a second build with AddressSanitizer, LeakSanitizer and
# UndefinedBehaviorSanitizer. Leaks are looked for in the tests only, not in the build's own
# tools and test discovery; the suppressions name library frames that are not ours.
# SDL would load the GL driver for a hidden test window only to ask its vendor, and unload it
# with data it never frees, in frames no suppression can name once the driver is gone: the
# window tests here present through X directly, as SDL does anyway after that question on
# every driver but two vendors' own. ASan's dlopen makes the loader search as if the runtime
# had asked, without the programs' RUNPATH: LD_LIBRARY_PATH names the voice library's folder.
# The install tests are left to `make test`: they prove that an installed program finds its
# voice library through its RUNPATH alone, which that interception defeats, and they would
# package a build that depends on the sanitizer runtime.
SANITIZE_BUILD ?= build-sanitize
SANITIZE_ENV = ASAN_OPTIONS=detect_stack_use_after_return=1:strict_string_checks=1 \
  LSAN_OPTIONS=suppressions=$(CURDIR)/tests/sanitize/lsan.supp:print_suppressions=0 \
  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  SDL_FRAMEBUFFER_ACCELERATION=0 LD_LIBRARY_PATH=$(abspath $(SANITIZE_BUILD))/lib
sanitize: deps
	@[ -f $(SANITIZE_BUILD)/CMakeCache.txt ] || cmake -S . -B $(SANITIZE_BUILD) \
	  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTELUMA_SANITIZE=ON
	ASAN_OPTIONS=detect_leaks=0 cmake --build $(SANITIZE_BUILD) -j $(JOBS)
	cd $(SANITIZE_BUILD) && $(SANITIZE_ENV) ctest --output-on-failure -j $(JOBS) -E '^install\.' $(CTEST_ARGS)

# Every fuzz target (clang's libFuzzer) for FUZZ_SECONDS each, seeded from tests/fuzz/corpus;
# new inputs collect in build-fuzz/corpus, crashes in build-fuzz/crashes.
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60
fuzz: deps
	@$(MAKE) --no-print-directory deps PACKAGES=clang
	@[ -f $(FUZZ_BUILD)/CMakeCache.txt ] || CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) \
	  -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target fuzz-all
	bash tests/fuzz/run-fuzzers $(FUZZ_BUILD) $(FUZZ_SECONDS)

clean:
	rm -rf $(BUILD)

# Waveform and spectrogram of every game effect: build/effects/index.html
effects-page: build
	cmake --build $(BUILD) --target effects-page

# The game's title screen in its window: build/screenshot-titulo.bmp
screenshot: build
	bash tools/screenshot.sh $(BUILD)
