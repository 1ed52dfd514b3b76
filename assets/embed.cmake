# Turns one asset file into a C++ source that defines its accessor from embedded_assets.h.
# Run as: cmake -DINPUT=<file> -DOUTPUT=<cpp> -DFUNCTION=<accessor name> -P embed.cmake
file(READ "${INPUT}" hex HEX)
string(LENGTH "${hex}" hex_length)
math(EXPR size "${hex_length} / 2")
# Sixteen bytes to a line keeps the generated file readable in a diff viewer.
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REPEAT "0x..," 16 line_pattern)
string(REGEX REPLACE "(${line_pattern})" "\\1\n    " bytes "${bytes}")
get_filename_component(name "${INPUT}" NAME)
file(WRITE "${OUTPUT}.tmp"
"// Generated from assets/${name} by embed.cmake; edit the asset, not this file.
#include \"assets/embedded_assets.h\"

namespace {
alignas(16) static const unsigned char kBytes[${size}] = {
    ${bytes}
};
}  // namespace

mole::assets::Blob mole::assets::${FUNCTION}() {
    return {kBytes, sizeof kBytes};
}
")
# Only touch the output when it changed, so an unchanged asset does not recompile.
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
