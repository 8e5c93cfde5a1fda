#include "core/sequence/sequence_reader.h"

#include <gtest/gtest.h>
#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "core/sequence/base_sequence.h"
#include "core/sequence/file_loading.h"
#include "core/sequence/sequence_file.h"
#include "support/base_letters.h"
#include "support/gzip_text.h"
#include "support/recorded_messages.h"
#include "support/temp_folder.h"

namespace tavrola {
namespace {

// "name:length ..." of what a look lists.
std::string Listing(const SequenceLook& look) {
    std::string listing;
    for (const RecordSummary& record : look.records) {
        listing += (listing.empty() ? "" : " ") + record.name + ":" + std::to_string(record.length);
    }
    return listing;
}

const std::string kFasta = ">a one  two \nAC GT\n..\n>b\nUUuu\n";
const std::string kGenBank =
    "LOCUS       SHORT     12 bp    DNA\nDEFINITION  First line\n            and second.\n"
    "ACCESSION   X1 X2\nVERSION     X1.2  GI:5\nFEATURES             Location/Qualifiers\n"
    "                     /translation=\"MTACGT\"\nORIGIN      \n        1 acgtac gtuu\n"
    "       11 nn\n//\n";
const std::string kGenBankEnd = "ORIGIN\n 1 ac\n//\n";
const std::string kEmbl =
    "ID   X5; SV 3; linear; DNA; STD; HUM; 4 BP.\nXX\nAC   X5;\nDE   Two\nDE   lines\n"
    "SQ   Sequence 4 BP;\n     acgt         4\n//\n"
    "ID   OLD   standard; DNA; 2 BP.\nAC   Y7; Y8;\nSQ\n     ac 2\n//\n"
    "ID   ONLY   standard; DNA; 2 BP.\nSQ\n     gg 2\n//\n";

std::string DamagedCheck(std::string packed) {
    packed[packed.size() - 8] = static_cast<char>(packed[packed.size() - 8] ^ 0xFF);
    return packed;
}

struct FileCase {
    const char* what;
    std::string bytes;
    ReadOutcome outcome;
    SequenceFormat format;
    std::string records;  // what the look lists
    std::string first;    // the first record's (or raw text's) box text, read in one pass
    std::int64_t line = 0;
};

// The window's look and the command line's single pass see every file alike.
TEST(SequenceReader, RecognisesEachFormatByContentAndRefusesDamage) {
    using enum ReadOutcome;
    using F = SequenceFormat;
    const FileCase cases[] = {
        {"FASTA: gaps count, U is a base", kFasta, kOk, F::kFasta, "a:6 b:4",
         ">a one  two [1-6]\nACGT.."},
        {"FASTA after a byte-order mark and blanks, CRLF", "\xEF\xBB\xBF\r\n >x\r\nac\r\ngt", kOk,
         F::kFasta, "x:4", ">x [1-4]\nacgt"},
        {"a sequence line may be longer than a header may", ">1\n" + std::string(70000, 'g'), kOk,
         F::kFasta, "1:70000", ""},
        {"GenBank: VERSION, DEFINITION's lines, only ORIGIN plays", kGenBank, kOk, F::kGenBank,
         "X1.2:12", ">X1.2 First line and second. [1-12]\nacgtacgtuunn"},
        {"GenBank names: ACCESSION, else LOCUS",
         "LOCUS A 2 bp\nACCESSION   A9\n" + kGenBankEnd + "LOCUS       LOC2 2 bp\n" + kGenBankEnd,
         kOk, F::kGenBank, "A9:2 LOC2:2", ">A9 [1-2]\nac"},
        {"EMBL names: AC with the ID's SV, AC, else ID", kEmbl, kOk, F::kEmbl, "X5.3:4 Y7:2 ONLY:2",
         ">X5.3 Two lines [1-4]\nacgt"},
        {"gzip, member after member", testing::GzipText(">a\nAC\n") + testing::GzipText(">b\nGT"),
         kOk, F::kFasta, "a:2 b:2", ">a [1-2]\nAC"},
        {"gzip of raw text, zero bytes after it",
         testing::GzipText("hello acgt") + std::string(4, '\0'), kOk, F::kRaw, "", "hello acgt"},
        {"raw text: a word that only starts like LOCUS", "LOCUSTS acgt", kOk, F::kRaw, "",
         "LOCUSTS acgt"},
        {"gzip cut short", testing::GzipText(kFasta).substr(0, 20), kGzipCutShort, F::kRaw, "", ""},
        {"gzip failing its check", DamagedCheck(testing::GzipText(kFasta)), kGzipDamaged, F::kRaw,
         "", ""},
        {"GenBank record without //", "LOCUS A\nORIGIN\n 1 ac\n", kRecordNotEnded, F::kGenBank, "",
         "", 1},
        {"GenBank record running into the next", "LOCUS A\nORIGIN\n 1 ac\n" + kGenBank,
         kRecordNotEnded, F::kGenBank, "", "", 1},
        {"GenBank record without ORIGIN, after blank space", "\n  LOCUS A\n//\n",
         kHeaderWithoutSequence, F::kGenBank, "", "", 2},
        {"FASTA header with no sequence", ">a\nAC\n>b\n\n>c\nGT\n", kHeaderWithoutSequence,
         F::kFasta, "", "", 3},
        {"EMBL record with an empty SQ", "ID   A\nSQ\n//\n", kHeaderWithoutSequence, F::kEmbl, "",
         "", 1},
        {"a zero byte", std::string(">a\nAC\0GT\n", 9), kNulByte, F::kFasta, "", "", 2},
        {"a header over 64 KiB", ">" + std::string(65537, 'x'), kLineTooLong, F::kFasta, "", "", 1},
        {"an ID line over 64 KiB", "ID   " + std::string(70000, 'x'), kLineTooLong, F::kEmbl, "",
         "", 1},
    };
    const testing::TempFolder folder;
    for (const FileCase& c : cases) {
        SCOPED_TRACE(c.what);
        const SequenceLook look = LookAtSequenceFile(folder.Write("file", c.bytes));
        EXPECT_EQ(look.outcome, c.outcome);
        EXPECT_EQ(look.format, c.format);
        EXPECT_EQ(look.line, c.line) << "the damaged line";
        EXPECT_EQ(Listing(look), c.records);
        EXPECT_EQ(look.compressed, c.bytes.starts_with("\x1F\x8B"));

        MemoryByteSource standard_input(c.bytes);
        const SequenceReading once = ReadSequenceInOnePass(standard_input, {});
        if (!c.first.empty() || c.outcome != kOk) {
            EXPECT_EQ(once.outcome, c.outcome) << "the single pass";
            EXPECT_EQ(once.text, c.first);
        }
    }
}

// Input: the first record's 10 positions, versions, duplicates, one long record on one line,
// longer than the reader's buffer.
const std::string kRecords =
    ">J1.1 first\nACGTACGTAC\n>J2.1\nAAAA\n>J2.2\nCCCC\n>J3\nGG\n>J3\nTT\n>long\n" +
    testing::Bases(80000);

// Letters as the box shows them: a line break before every 60.
std::string Wrapped(std::string_view letters) {
    std::string text;
    for (std::size_t at = 0; at < letters.size(); at += 60) {
        text += "\n" + std::string(letters.substr(at, 60));
    }
    return text;
}

// The text read, or what a refusal counts: the length or size, or the names of the file.
std::string Shown(const SequenceReading& reading) {
    if (reading.outcome == ReadOutcome::kStretchPastEnd ||
        reading.outcome == ReadOutcome::kStretchNeeded) {
        return std::to_string(reading.available);
    }
    std::string shown = reading.text;
    for (const std::string& name : reading.names) {
        shown += (shown.empty() ? "" : " ") + name;
    }
    return shown;
}

const std::string kRawText(10000, 'c');

// The request's parts: an aggregate holding an optional string trips GCC 12's
// maybe-uninitialized check in a table.
struct ChoiceCase {
    const char* what;
    const std::string* input;
    const char* record;
    std::optional<PositionRange> region;
    std::optional<PositionRange> range;
    ReadOutcome outcome;
    std::string text;  // Shown
};

SinglePassRequest Request(const ChoiceCase& c) {
    SinglePassRequest request;
    if (c.record != nullptr) {
        request.record = c.record;
    }
    request.region = c.region;
    request.range = c.range;
    return request;
}

TEST(SequenceReader, TheCommandLineChoosesARecordByNameAndAStretchByPosition) {
    using enum ReadOutcome;
    const std::string* records = &kRecords;
    // Raw text is held no further than its range, and never beyond the load limit.
    const std::string* raw = &kRawText;
    const auto region = RegionFromOneBased;
    const std::string first = ">J1.1 first [1-10]\nACGTACGTAC";
    // clang-format off
    const ChoiceCase cases[] = {
        {"the first record by default", records, nullptr, {}, {}, kOk, first},
        {"a name without its version", records, "J1", {}, {}, kOk, first},
        {"a name without a version that two fit", records, "J2", {}, {}, kUnknownRecord,
         "J1.1 J2.1 J2.2 J3 J3 long"},
        {"a full name", records, "J2.2", {}, {}, kOk, ">J2.2 [1-4]\nCCCC"},
        {"duplicates: the first", records, "J3", {}, {}, kOk, ">J3 [1-2]\nGG"},
        {"a region", records, nullptr, region(3, 5), {}, kOk, ">J1.1 first [3-5]\nGTA"},
        {"a region past the end", records, nullptr, region(9, 11), {}, kStretchPastEnd, "10"},
        {"a region ending at its start", records, nullptr, region(5, 5), {}, kWrongStretch, ""},
        {"a region from 0", records, nullptr, region(0, 5), {}, kWrongStretch, ""},
        {"a region over the limit", records, nullptr, region(1, 8193), {}, kStretchTooLarge, ""},
        {"a long record needs a region", records, "long", {}, {}, kStretchNeeded, "80000"},
        {"the end of a long record", records, "long", region(79879, 80000), {}, kOk,
         ">long [79879-80000]" + Wrapped(testing::Bases(122, 79878))},
        {"a region across the reader's buffers", records, "long", region(70001, 78192), {}, kOk,
         ">long [70001-78192]" + Wrapped(testing::Bases(8192, 70000))},
        {"a byte range of records", records, nullptr, {}, PositionRange{0, 9},
         kRangeOnRecordFile, ""},
        {"a raw stream longer than a load", raw, nullptr, {}, {}, kStretchNeeded, "-1"},
        {"its last bytes", raw, nullptr, {}, PositionRange{9990, 9999}, kOk, std::string(10, 'c')},
        {"a range past its end", raw, nullptr, {}, PositionRange{9995, 10004}, kStretchPastEnd,
         "10000"},
        {"a record of raw text", raw, "J1", {}, {}, kRecordChoiceOnRawFile, ""},
    };
    // clang-format on
    for (const ChoiceCase& c : cases) {
        SCOPED_TRACE(c.what);
        MemoryByteSource input(*c.input);
        const SequenceReading reading = ReadSequenceInOnePass(input, Request(c));
        EXPECT_EQ(reading.outcome, c.outcome);
        EXPECT_EQ(Shown(reading), c.text);
    }

    MemoryByteSource as_bytes(kRecords);
    SinglePassRequest raw_request;
    raw_request.raw = true;
    raw_request.range = PositionRange{0, 4};
    EXPECT_EQ(ReadSequenceInOnePass(as_bytes, raw_request).text, ">J1.1") << "--raw: headers too";

    std::string many;
    for (int i = 1; i <= 12; ++i) {
        many += ">r" + std::to_string(i) + "\nA\n";
    }
    MemoryByteSource input(many);
    const SequenceReading unknown =
        ReadSequenceInOnePass(input, Request({"", &many, "r", {}, {}, kOk, ""}));
    EXPECT_EQ(unknown.names.size(), kMostNamedRecords);
    EXPECT_EQ(unknown.more_names, 2) << "the names beyond the first ten are counted";
}

// The window's 読込: a record list for several records, the Target Area dialog for a long one,
// and raw text by the designed path.
TEST(SequenceReader, TheWindowAsksForARecordAndAStretchOnlyWhenItMust) {
    const testing::TempFolder folder;
    const testing::RecordedMessages messages;
    int lists = 0;
    std::optional<std::size_t> pick = 5;
    const RecordChooser choose_record = [&](const SequenceLook& look) {
        ++lists;
        EXPECT_EQ(Listing(look), "J1.1:10 J2.1:4 J2.2:4 J3:2 J3:2 long:80000");
        return pick;
    };
    std::vector<std::int32_t> asked;
    const TargetAreaChooser choose_range = [&](ReadRange given, std::int32_t size) {
        EXPECT_EQ(given, kDefaultReadRange);
        asked.push_back(size);
        return ReadRange{8100, 8219};
    };
    const auto load = [&](const std::string& name, const std::string& bytes) {
        return LoadFileForDataBox(folder.Write(name, bytes), choose_record, choose_range);
    };

    EXPECT_EQ(load("long.fa", kRecords).text,
              ">long [8101-8220]" + Wrapped(testing::Bases(120, 8100)));
    EXPECT_EQ(lists, 1);
    pick = std::nullopt;
    EXPECT_EQ(load("long.fa", kRecords).outcome, ReadOutcome::kCancelled);
    EXPECT_EQ(load("one.fa.gz", testing::GzipText(">one\nAcgu")).text, ">one [1-4]\nAcgu");
    EXPECT_EQ(load("one.fa", ">one\nNNAC").skipped_letters, 2);
    EXPECT_EQ(load("raw.gz", testing::GzipText(std::string(9000, 'g'))).text,
              std::string(120, 'g'));
    EXPECT_EQ(load("raw.txt", std::string(9000, 't')).text, std::string(120, 't'));
    EXPECT_EQ(load("damaged.gb", "LOCUS A\n//\n").outcome, ReadOutcome::kHeaderWithoutSequence);
    EXPECT_EQ(lists, 2) << "a single record is taken without asking";
    EXPECT_EQ(asked, (std::vector<std::int32_t>{80000, 9000, 9000}))
        << "long record, long raw texts";
    EXPECT_TRUE(messages.texts().empty());

    const SequenceReading missing =
        LoadFileForDataBox(folder.path() / "missing", choose_record, choose_range);
    EXPECT_EQ(missing.outcome, ReadOutcome::kOk) << "the designed path tells it";
    EXPECT_FALSE(missing.file_read) << "and the window learns that nothing was read";
    EXPECT_EQ(messages.texts(), (std::vector<std::string>{kFileSizeMessage, kFileOpenMessage}));
}

// A signal ends a blocking read of standard input at once, unless the stop predicate says it
// was harmless: then the read goes on.
TEST(SequenceReader, ASignalEndsABlockingReadOfStandardInput) {
    struct sigaction action {};
    action.sa_handler = [](int) {};
    struct sigaction previous {};
    ASSERT_EQ(::sigaction(SIGUSR1, &action, &previous), 0);  // no SA_RESTART
    enum class Predicate { kNone, kStopOnSignal, kHarmless };
    for (const Predicate predicate :
         {Predicate::kNone, Predicate::kStopOnSignal, Predicate::kHarmless}) {
        int pipe_ends[2];
        ASSERT_EQ(::pipe(pipe_ends), 0);
        const pthread_t reader = ::pthread_self();
        std::atomic<int> signals = 0;
        std::atomic<bool> done = false;
        // Again and again, in case the first comes before the read blocks; a harmless run gets
        // its input after three.
        std::thread signaller([&] {
            while (!done) {
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
                ::pthread_kill(reader, SIGUSR1);
                if (++signals == 3 && predicate == Predicate::kHarmless) {
                    EXPECT_EQ(::write(pipe_ends[1], ">a\nAC", 5), 5);
                    ::close(std::exchange(pipe_ends[1], -1));
                }
            }
        });
        StopRequested stop;
        if (predicate != Predicate::kNone) {
            stop = [&] { return predicate == Predicate::kStopOnSignal && signals > 0; };
        }
        FileByteSource input(pipe_ends[0], stop);
        const SequenceReading reading = ReadSequenceInOnePass(input, {});
        done = true;
        signaller.join();
        EXPECT_EQ(reading.outcome,
                  predicate == Predicate::kHarmless ? ReadOutcome::kOk : ReadOutcome::kInterrupted);
        ::close(pipe_ends[0]);
        if (pipe_ends[1] >= 0) {
            ::close(pipe_ends[1]);
        }
    }
    ::sigaction(SIGUSR1, &previous, nullptr);
}

}  // namespace
}  // namespace tavrola
