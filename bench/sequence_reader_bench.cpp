// The sequence reader over a 100 MB multi-FASTA and its gzip, made at run time: listing the
// records (the window's look) and loading one record's stretch (the window's read, and the
// command line's single pass, which reads to the end). Each must stay under 2 s, with a peak
// under 64 MB beyond the program's own: the counter peak_growth_MB is how far the process's
// peak resident size rose while the benchmark ran.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <unistd.h>
#include <zlib.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "core/sequence/sequence_reader.h"

namespace {

constexpr int kRecords = 20000;
constexpr int kLinesPerRecord = 83;  // 60 letters a line: about 5 KB a record, 100 MB in all

double PeakResidentMegabytes() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

// The two files, written line by line so that making them raises no peak of their own.
class MultiFasta {
  public:
    MultiFasta() {
        std::string folder =
            (std::filesystem::temp_directory_path() / "tavrola-bench-XXXXXX").string();
        if (::mkdtemp(folder.data()) == nullptr) {
            std::abort();
        }
        folder_ = folder;
        std::ofstream plain(Plain(), std::ios::binary);
        gzFile packed = ::gzopen(Packed().c_str(), "wb1");
        // Letters from a plain random series, so the gzip packs about as real sequence does;
        // every twentieth an N, as assemblies have.
        static constexpr char kLetters[] = "ACGTACGTACGTACGTACGN";
        std::uint32_t state = 1;
        std::string line;
        for (int record = 0; record < kRecords; ++record) {
            const std::string header = ">contig_" + std::to_string(record) +
                                       ".1 synthetic contig " + std::to_string(record) + "\n";
            plain << header;
            ::gzwrite(packed, header.data(), static_cast<unsigned>(header.size()));
            for (int i = 0; i < kLinesPerRecord; ++i) {
                line.clear();
                for (int j = 0; j < 60; ++j) {
                    state = state * 1664525U + 1013904223U;
                    line.push_back(kLetters[(state >> 16) % 20]);
                }
                line.push_back('\n');
                plain << line;
                ::gzwrite(packed, line.data(), static_cast<unsigned>(line.size()));
            }
        }
        ::gzclose(packed);
    }
    ~MultiFasta() { std::filesystem::remove_all(folder_); }
    MultiFasta(const MultiFasta&) = delete;
    MultiFasta& operator=(const MultiFasta&) = delete;

    std::filesystem::path Plain() const { return folder_ / "contigs.fa"; }
    std::filesystem::path Packed() const { return folder_ / "contigs.fa.gz"; }
    std::filesystem::path File(bool packed) const { return packed ? Packed() : Plain(); }

  private:
    std::filesystem::path folder_;
};

const MultiFasta& Files() {
    static const MultiFasta files;
    return files;
}

void ReportPeak(benchmark::State& state, double before) {
    state.counters["peak_growth_MB"] = PeakResidentMegabytes() - before;
    state.counters["file_MB"] =
        static_cast<double>(std::filesystem::file_size(Files().File(state.range(0) != 0))) / 1e6;
}

// The window's look: every record counted, the first 10,000 listed.
void BM_LookAtMultiFasta(benchmark::State& state) {
    const std::filesystem::path file = Files().File(state.range(0) != 0);
    const double before = PeakResidentMegabytes();
    for (auto _ : state) {
        const tavrola::SequenceLook look = tavrola::LookAtSequenceFile(file);
        if (look.outcome != tavrola::ReadOutcome::kOk || look.RecordCount() != kRecords) {
            state.SkipWithError("the look did not list the records");
        }
        benchmark::DoNotOptimize(look.records.data());
    }
    ReportPeak(state, before);
}
BENCHMARK(BM_LookAtMultiFasta)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The window's read of the last listed record's first 8192 positions.
void BM_ReadRecordStretch(benchmark::State& state) {
    const std::filesystem::path file = Files().File(state.range(0) != 0);
    const double before = PeakResidentMegabytes();
    for (auto _ : state) {
        const tavrola::SequenceReading reading =
            tavrola::ReadRecordStretch(file, tavrola::kMostListedRecords - 1, {0, 4979});
        if (reading.outcome != tavrola::ReadOutcome::kOk) {
            state.SkipWithError("the stretch was not read");
        }
        benchmark::DoNotOptimize(reading.text.data());
    }
    ReportPeak(state, before);
}
BENCHMARK(BM_ReadRecordStretch)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The command line's single pass: the last record by name, the input read to its end.
void BM_ReadInOnePass(benchmark::State& state) {
    const std::filesystem::path file = Files().File(state.range(0) != 0);
    tavrola::SinglePassRequest request;
    request.record = "contig_" + std::to_string(kRecords - 1);
    request.region = tavrola::RegionFromOneBased(1, 4980);
    const double before = PeakResidentMegabytes();
    for (auto _ : state) {
        const tavrola::SequenceReading reading = tavrola::ReadSequenceInOnePass(file, request);
        if (reading.outcome != tavrola::ReadOutcome::kOk) {
            state.SkipWithError("the record was not read");
        }
        benchmark::DoNotOptimize(reading.text.data());
    }
    ReportPeak(state, before);
}
BENCHMARK(BM_ReadInOnePass)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
