#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "core/sequence/sequence_loading.h"
#include "core/services/user_message.h"

namespace {

// Text for the box from a full load of 8192 bytes: plain ASCII, and bytes that are not UTF-8.
void BM_DecodeFileText(benchmark::State& state) {
    std::string bytes(tavrola::kLoadLimit, 'a');
    if (state.range(0) != 0) {
        for (std::size_t i = 0; i < bytes.size(); i += 7) {
            bytes[i] = '\xE9';
        }
    }
    for (auto _ : state) {
        std::string text = tavrola::DecodeFileText(bytes);
        benchmark::DoNotOptimize(text.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * tavrola::kLoadLimit);
}
BENCHMARK(BM_DecodeFileText)->Arg(0)->Arg(1);

// One load of the last 8192 bytes of a long file: the read must not grow with the file.
void BM_ReadSequenceFileRange(benchmark::State& state) {
    tavrola::SetMessageHandler([](const std::string&) {});
    std::string folder = (std::filesystem::temp_directory_path() / "tavrola-bench-XXXXXX").string();
    if (::mkdtemp(folder.data()) == nullptr) {
        state.SkipWithError("no temporary folder");
        return;
    }
    const std::filesystem::path file = std::filesystem::path(folder) / "long.seq";
    const auto size = static_cast<std::int32_t>(state.range(0));
    {
        std::ofstream out(file, std::ios::binary);
        const std::string line = "       61 acgtnacgta gattacaggc tTAGCatcga ccgtaatgca\n";
        for (std::int64_t written = 0; written < size; written += line.size()) {
            out << line;
        }
    }
    const auto last_stretch = [](tavrola::ReadRange, std::int32_t file_size) {
        return tavrola::ReadRange{file_size - tavrola::kLoadLimit, file_size - 1};
    };
    for (auto _ : state) {
        std::string text = tavrola::ReadSequenceFile(file, last_stretch);
        benchmark::DoNotOptimize(text.data());
    }
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_ReadSequenceFileRange)->Arg(16 << 10)->Arg(64 << 20)->Unit(benchmark::kMicrosecond);

}  // namespace
