# make play | make test | make bench
BUILD ?= build
JOBS ?= $(shell nproc)
PACKAGES = build-essential cmake pkg-config googletest libgtest-dev libgmock-dev libbenchmark-dev \
  libsdl2-dev libsdl2-ttf-dev libfontconfig-dev fonts-dejavu-core \
  libespeak-ng-dev espeak-ng-data espeak-ng libspeechd-dev speech-dispatcher wbrazilian xvfb xauth libxtst-dev bc python3
SUDO = $(shell [ "$$(id -u)" = 0 ] || echo sudo)

.PHONY: all deps configure build play test bench clean effects-page screenshot

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

clean:
	rm -rf $(BUILD)

# Waveform and spectrogram of every game effect: build/effects/index.html
effects-page: build
	cmake --build $(BUILD) --target effects-page

# The game's title screen in its window: build/screenshot-titulo.bmp
screenshot: build
	bash tools/screenshot.sh $(BUILD)
