// PAD loading without the window: bytes to text, entity decoding and the 17
// tag extractions, with our one-pass decoder and with the plain 133-pass model.

#include "ReferenceEntityDecoder.h"
#include "core/profiles/PadText.h"
#include "core/profiles/ProfileFields.h"

#include <QFile>
#include <QString>

#include <benchmark/benchmark.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <utility>

using namespace Qt::StringLiterals;
using namespace tarvelo;

namespace {

enum class Decoder { OnePass, Model };

struct Pad
{
    QString text;
    std::array<QString, 17> values;
};

QByteArray readTestFile(const char *name)
{
    QFile file(QStringLiteral(TARVELO_TEST_DATA "/pad/") + QString::fromLatin1(name));
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", name);
        std::abort();
    }
    return file.readAll();
}

// A real PAD file of about 5 KB.
const QByteArray &typicalFile()
{
    static const QByteArray bytes = readTestFile("startrek.xml");
    return bytes;
}

// Repeats the text of the first `tag` element until the file is 10 MB.
QByteArray swell(const char *name, const QByteArray &tag, const QByteArray &extraLine)
{
    QByteArray file = readTestFile(name);
    const QByteArray closing = tag.first(1) + '/' + tag.sliced(1);
    const qsizetype start = file.indexOf(tag);
    const qsizetype end = file.indexOf(closing);
    if (start < 0 || end < start)
        std::abort();
    const QByteArray text = file.sliced(start + tag.size(), end - start - tag.size()) + extraLine;
    QByteArray filler;
    filler.reserve(10 * 1024 * 1024 + text.size());
    while (file.size() + filler.size() < 10 * 1024 * 1024)
        filler += text;
    file.insert(end, filler);
    return file;
}

// How a PAD file grows big in practice: a long licence text. It stands after
// all 17 tags, so the extractions stop early.
const QByteArray &largeLicenceFile()
{
    static const QByteArray bytes = swell("brlcad.xml", "<EULA>", QByteArray());
    return bytes;
}

// The worst case for the extractions: a long description, dense with
// entities, that lies before the web addresses, so six of the 17 searches
// walk through 10 MB.
const QByteArray &largeDescriptionFile()
{
    static const QByteArray bytes =
        swell("startrek.xml", "<Char_Desc_450>",
              "Tom &amp; Jerry &quot;by the book&quot;, &lt;b&gt;, caf&#xe9;, na&#xef;ve, "
              "&amp;lt;tag&amp;gt;, &#x92;quoted&#x92;, &#233; stays.\r\n");
    return bytes;
}

Pad load(const QByteArray &bytes, Decoder decoder)
{
    Pad pad;
    QString raw = decodePadBytes(bytes);
    pad.text = decoder == Decoder::OnePass ? decodeEntitiesInPlace(std::move(raw))
                                           : reference::decodeEntities(std::move(raw));
    const auto &order = padLoadOrder();
    for (std::size_t k = 0; k < order.size(); ++k)
        pad.values[k] = getString(pad.text, fieldSpec(order[k]).padTag);
    return pad;
}

// Timing a decoder that gives other results would be pointless.
void requireSameResult(const QByteArray &bytes)
{
    const Pad fast = load(bytes, Decoder::OnePass);
    const Pad model = load(bytes, Decoder::Model);
    if (fast.text != model.text || fast.values != model.values) {
        std::fprintf(stderr, "one-pass decoder and model disagree\n");
        std::abort();
    }
    if (fast.text == decodePadBytes(bytes)) {
        std::fprintf(stderr, "benchmark input has no entities to decode\n");
        std::abort();
    }
}

void checkInputs()
{
    static const bool checked = [] {
        requireSameResult(typicalFile());
        requireSameResult(largeLicenceFile());
        requireSameResult(largeDescriptionFile());
        return true;
    }();
    (void)checked;
}

void setCounters(benchmark::State &state, const QByteArray &bytes)
{
    state.SetBytesProcessed(state.iterations() * bytes.size());
    state.counters["file_bytes"] = double(bytes.size());
}

void BM_LoadPad(benchmark::State &state, const QByteArray &(*input)(), Decoder decoder)
{
    checkInputs();
    const QByteArray &bytes = input();
    for (auto _ : state) {
        Pad pad = load(bytes, decoder);
        benchmark::DoNotOptimize(pad);
    }
    setCounters(state, bytes);
}

// The stages on their own, to see where the time of a load goes.
void BM_DecodeBytes(benchmark::State &state, const QByteArray &(*input)())
{
    const QByteArray &bytes = input();
    for (auto _ : state) {
        QString text = decodePadBytes(bytes);
        benchmark::DoNotOptimize(text);
    }
    setCounters(state, bytes);
}

void BM_DecodeEntities(benchmark::State &state, const QByteArray &(*input)(), Decoder decoder)
{
    checkInputs();
    const QByteArray &bytes = input();
    const QString raw = decodePadBytes(bytes);
    for (auto _ : state) {
        QString text =
            decoder == Decoder::OnePass ? decodeEntities(raw) : reference::decodeEntities(raw);
        benchmark::DoNotOptimize(text);
    }
    setCounters(state, bytes);
}

void BM_Extract17(benchmark::State &state, const QByteArray &(*input)())
{
    const QByteArray &bytes = input();
    const QString text = decodeEntities(decodePadBytes(bytes));
    for (auto _ : state) {
        for (Field field : padLoadOrder()) {
            QString value = getString(text, fieldSpec(field).padTag);
            benchmark::DoNotOptimize(value);
        }
    }
    setCounters(state, bytes);
}

} // namespace

BENCHMARK_CAPTURE(BM_LoadPad, typical_5KB_onepass, &typicalFile, Decoder::OnePass)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_LoadPad, typical_5KB_model, &typicalFile, Decoder::Model)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_LoadPad, licence_10MB_onepass, &largeLicenceFile, Decoder::OnePass)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_LoadPad, licence_10MB_model, &largeLicenceFile, Decoder::Model)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_LoadPad, description_10MB_onepass, &largeDescriptionFile, Decoder::OnePass)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_LoadPad, description_10MB_model, &largeDescriptionFile, Decoder::Model)
    ->Unit(benchmark::kMillisecond);

BENCHMARK_CAPTURE(BM_DecodeBytes, description_10MB, &largeDescriptionFile)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_DecodeEntities, description_10MB_onepass, &largeDescriptionFile,
                  Decoder::OnePass)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_DecodeEntities, description_10MB_model, &largeDescriptionFile, Decoder::Model)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Extract17, licence_10MB, &largeLicenceFile)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Extract17, description_10MB, &largeDescriptionFile)
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
