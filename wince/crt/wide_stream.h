// The host side of the device runtime's streams: which FILEs _wfopen made and
// in which translation mode. wide_stream.cpp owns the streams (open, the
// byte-level CR LF and Ctrl+Z translation, close); wide_stream_text.cpp reads
// and writes wide characters through them.
#pragma once

#include <cstdio>

namespace wince::stream {

enum class Mode { Text, Binary };

// The translation mode of a stream that _wfopen opened. Other streams (from
// the host's own fopen) count as text, the device runtime's default.
Mode ModeOf(FILE* stream);

}  // namespace wince::stream
