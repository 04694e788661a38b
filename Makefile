# make play | make test | make bench
BUILD ?= build
JOBS ?= $(shell nproc)
PACKAGES = build-essential cmake pkg-config googletest libgtest-dev libgmock-dev libbenchmark-dev \
  libsdl2-dev libsdl2-ttf-dev libfontconfig-dev fonts-dejavu-core \
  libespeak-ng-dev espeak-ng-data libspeechd-dev wbrazilian xvfb xauth
SUDO = $(shell [ "$$(id -u)" = 0 ] || echo sudo)

.PHONY: all deps configure build play test bench clean

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

play: build
	@mkdir -p $(BUILD)/root/qorbel
	cd $(BUILD)/root/qorbel && TELUMA_ROOT=$(CURDIR)/$(BUILD)/root $(CURDIR)/$(BUILD)/src/apps/moondrop

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

bench: build
	cmake --build $(BUILD) -j $(JOBS) --target benchmarks
	cd $(BUILD) && ./bench/run-benchmarks

clean:
	rm -rf $(BUILD)
