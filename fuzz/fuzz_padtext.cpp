// Feeds arbitrary file contents through the PAD text functions: bytes to text,
// entity decoding, and the 17 tag extractions plus one tag taken from the input.
// Besides the sanitizers, it checks what must hold for any input and compares
// the entity decoder with the plain 133-pass model on small texts
// (tests/unit/PadTextChecks.h, shared with the fuzz regression test).

#include "PadTextChecks.h"

#include <QByteArray>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    // Not copied and not NUL-terminated, so any read past the end is caught.
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    if (const char *problem = tarvelo::checks::padTextProblem(bytes)) {
        std::fprintf(stderr, "broken: %s\n", problem);
        std::abort();
    }
    return 0;
}
