# The two commands a newcomer needs: `make run` and `make test`.
BUILD ?= build
JOBS ?= 2
CMAKE_FLAGS ?=

.PHONY: run test configure build bench demo contact-sheet windows format format-check clean

run:
	@scripts/install-deps run
	@scripts/run

test:
	@scripts/install-deps test
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS)
	cmake --build $(BUILD) -j$(JOBS)
	ctest --test-dir $(BUILD) --output-on-failure -j$(JOBS)

configure:
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS)

build: configure
	cmake --build $(BUILD) -j$(JOBS)

# The headless front end plays a whole mission by itself and writes its pictures.
demo:
	@scripts/install-deps demo
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS)
	cmake --build $(BUILD) -j$(JOBS) --target mole_demo
	$(BUILD)/src/shell/headless/mole_demo $(BUILD)/demo

format:
	git ls-files '*.h' '*.cpp' | xargs clang-format -i

format-check:
	git ls-files '*.h' '*.cpp' | xargs clang-format --dry-run --Werror

# The Windows program, cross-built with MinGW-w64: build-windows/mole.exe.
WINDOWS_BUILD ?= build-windows
windows:
	@scripts/install-deps windows
	cmake -S . -B $(WINDOWS_BUILD) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
	  -DCMAKE_BUILD_TYPE=Release -DMOLE_TESTS=OFF -DMOLE_BENCH=OFF $(CMAKE_FLAGS)
	cmake --build $(WINDOWS_BUILD) -j$(JOBS) --target mole
	@echo "built $(WINDOWS_BUILD)/mole.exe"

# The sprite frames, icons and cursors, enlarged side by side for review.
contact-sheet:
	@mkdir -p $(BUILD)
	python3 tools/assetgen/contact_sheet.py $(BUILD)/contact-sheet.png
	@echo "wrote $(BUILD)/contact-sheet.png"

clean:
	rm -rf $(BUILD)
