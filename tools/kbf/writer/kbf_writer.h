// The keyboard writer: records, member files, the keyboard model, and
// reading a keyboard back. Tests build their keyboard fixtures with it.
#pragma once

#include "tools/kbf/writer/keyboard.h"
#include "tools/kbf/writer/members.h"
#include "tools/kbf/writer/reader.h"
#include "tools/kbf/writer/records.h"
#include "tools/kbf/writer/text.h"
