# VO Dezaru: setup, build, run and test.
BUILD      ?= build
BUILD_TYPE ?= RelWithDebInfo
JOBS       ?= $(shell nproc)

# Every Debian package that building, running and testing need.
PACKAGES := build-essential cmake ninja-build pkg-config clang clang-format libclang-rt-14-dev \
	qt6-base-dev qt6-base-dev-tools libgl-dev \
	libopenmpt-dev libfluidsynth-dev libsndfile1-dev libmpg123-dev libsdl2-dev libpulse-dev libmp3lame-dev \
	libgtest-dev libgmock-dev googletest libbenchmark-dev \
	fonts-wine fonts-liberation fontconfig timgm6mb-soundfont \
	libxcb1-dev \
	xvfb xauth xdotool x11-utils libx11-dev libxext-dev libxi-dev trayer openbox \
	dbus dbus-daemon dbus-bin haskell-status-notifier-item-utils haskell-gtk-sni-tray-utils \
	desktop-file-utils appstream shared-mime-info playerctl systemd qt6-wayland weston

DEMO := resources/demo/dezaru-dawn.mod

# Where `make install` puts the player; DESTDIR stages it into another folder (packaging).
PREFIX  ?= /usr/local
DESTDIR ?=

# Only `make bench-live` needs these: a sound server with a null sink and two other players.
BENCH_LIVE_PACKAGES := pulseaudio pulseaudio-utils openmpt123 audacious audacious-plugins bc xdotool

.PHONY: setup setup-bench-live bench-live build run test format format-check asan tsan analyze fuzz \
	bench clean resources install uninstall

setup:
	@missing=$$(for p in $(PACKAGES); do \
		dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q 'install ok installed' || echo $$p; \
	done); \
	if [ -z "$$missing" ]; then echo "setup: all packages present"; \
	elif [ "$$(id -u)" = 0 ]; then \
		apt-get update && DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends $$missing; \
	else \
		echo "setup: missing packages; run as root:"; \
		echo "  apt-get update && apt-get install -y --no-install-recommends" $$missing; exit 1; \
	fi

$(BUILD)/build.ninja:
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE)

build: $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS)

run: setup build
	./$(BUILD)/vodezaru $(DEMO)

install: $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS) --target vodezaru
	DESTDIR="$(DESTDIR)" cmake --install $(BUILD) --prefix "$(PREFIX)"

# Removes what the last install from this build folder put in place (same DESTDIR).
uninstall:
	DESTDIR="$(DESTDIR)" cmake -DMANIFEST=$(BUILD)/install_manifest.txt -P cmake/Uninstall.cmake

test: setup build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

format-check:
	git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror

# Sanitizer builds run in their own build folders: the address sanitizer the whole suite, the
# thread sanitizer every program with more than one thread (the sound, the player's media
# component, the window, and the framework's timer notices and termination signals).
asan: setup
	cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVD_SANITIZE=address,undefined
	cmake --build build-asan -j $(JOBS)
	cd build-asan && ctest --output-on-failure -j $(JOBS)

tsan: setup
	cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVD_SANITIZE=thread
	cmake --build build-tsan -j $(JOBS)
	cd build-tsan && ctest --output-on-failure -L 'audio|app|player|threads' -j $(JOBS)

# The lock annotations (base/ThreadAnnotations.h) checked by clang's thread-safety analysis: the
# sound engines, the players and their tests, built with -Wthread-safety -Werror.
analyze: setup
	cmake -S . -B build-analyze -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=clang++ \
		-DCMAKE_C_COMPILER=clang -DVD_ANALYZE=ON
	cmake --build build-analyze -j $(JOBS) --target analyze

# libFuzzer targets (clang); FUZZ_RUNS executions each.
FUZZ_RUNS ?= 1000000
fuzz: setup
	CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVD_FUZZ=ON
	cmake --build build-fuzz -j $(JOBS) --target fuzzers
	@for f in $$(find build-fuzz/fuzz -type f -name 'fuzz_*' -perm -u+x | sort); do \
		name=$$(basename $$f); \
		group=$$(basename $$(dirname $$(grep -l "vd_add_fuzzer($$name " fuzz/*/CMakeLists.txt))); \
		echo "== $$name"; mkdir -p build-fuzz/corpus/$$name; \
		seeds=; [ -d fuzz/$$group/seeds ] && seeds=fuzz/$$group/seeds; \
		$$f -runs=$(FUZZ_RUNS) build-fuzz/corpus/$$name $$seeds 2>&1 | tail -3 || exit 1; \
	done

bench: setup build
	@for b in $$(find $(BUILD)/bench -type f -name 'bench_*' -perm -u+x | sort); do \
		echo "== $$b"; QT_QPA_PLATFORM=offscreen $$b; \
	done

# Side by side with openmpt123 (and Audacious) on a private display and sound server:
# ROUNDS, WARMUP_S and MEASURE_S set the rounds and their timing. Not part of `make test`.
setup-bench-live: setup
	@missing=$$(for p in $(BENCH_LIVE_PACKAGES); do \
		dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q 'install ok installed' || echo $$p; \
	done); \
	if [ -z "$$missing" ]; then echo "setup-bench-live: all packages present"; \
	elif [ "$$(id -u)" = 0 ]; then \
		apt-get update && DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends $$missing; \
	else \
		echo "setup-bench-live: missing packages; run as root:"; \
		echo "  apt-get update && apt-get install -y --no-install-recommends" $$missing; exit 1; \
	fi

bench-live: setup-bench-live build
	tools/bench_live/bench_live.sh $(BUILD)

# Regenerate the committed resources (skin art, menu images, icons, demo song).
resources: build
	./$(BUILD)/tools/make_skin resources
	./$(BUILD)/tools/make_demo_song $(DEMO)

clean:
	rm -rf $(BUILD) build-asan build-tsan build-analyze build-fuzz
