#pragma once
// The size on the line in front of each chunk of a chunked body: hexadecimal
// digits in either letter case, optionally followed by blanks and by an
// extension after ";" that is ignored. A line that holds no such number
// (an empty one included) is a broken body, not its end, so it is raised.

#include "core/ansistring.h"
#include "net/exceptions.h"

QD_DECLARE_EXCEPTION(ENetChunkSizeError, ENetException);

// The chunk size of the line without its line break. Raises ENetChunkSizeError
// "Invalid chunk size line." when the line holds no hexadecimal number and
// "Chunk size out of range." when the number does not fit 31 bits.
int ParseChunkSize(const AnsiString& ALine);
