# The two entry points: `make run FILE=path` shows a file's checksums, `make test` runs every test.
.PHONY: run test deps native win64

deps:
	@scripts/install-deps.sh

native: deps
	cmake --preset native >/dev/null
	cmake --build --preset native

win64: deps
	cmake --preset win64 >/dev/null
	cmake --build --preset win64

run: deps
	cmake --preset win64 >/dev/null
	cmake --build --preset win64 --target checksums show-window
	scripts/run-tool.sh "$(FILE)"

test: native win64
	ctest --preset native
	scripts/wine-session.sh ctest --preset win64
