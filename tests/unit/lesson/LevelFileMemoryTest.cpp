// The level reader's memory: however large the file and however long one of its lines
// or fields, reading it takes little extra memory and keeps only the five records the
// difficulties use. The heap is measured by counting every allocation of this program.
#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <istream>
#include <limits>
#include <new>
#include <streambuf>
#include <string>
#include <vector>

#include "lesson/LevelFile.h"
#include "unit/lesson/LevelRows.h"

namespace {

std::atomic<std::size_t> liveBytes{0};
std::atomic<std::size_t> peakBytes{0};
constexpr std::size_t blockHeader = alignof(std::max_align_t);

// Each block carries its size in front of it, so that releasing it can count it off.
void* allocate(std::size_t size) {
    void* block = std::malloc(size + blockHeader);
    if (block == nullptr) {
        throw std::bad_alloc();
    }
    *static_cast<std::size_t*>(block) = size;
    const std::size_t live = liveBytes += size;
    std::size_t peak = peakBytes.load();
    while (live > peak && !peakBytes.compare_exchange_weak(peak, live)) {
    }
    return static_cast<char*>(block) + blockHeader;
}

void release(void* pointer) noexcept {
    if (pointer == nullptr) {
        return;
    }
    char* block = static_cast<char*>(pointer) - blockHeader;
    liveBytes -= *reinterpret_cast<std::size_t*>(block);
    std::free(block);
}

}  // namespace

void* operator new(std::size_t size) {
    return allocate(size);
}
void* operator new[](std::size_t size) {
    return allocate(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    try {
        return allocate(size);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept {
    return operator new(size, tag);
}
void operator delete(void* pointer) noexcept {
    release(pointer);
}
void operator delete[](void* pointer) noexcept {
    release(pointer);
}
void operator delete(void* pointer, std::size_t) noexcept {
    release(pointer);
}
void operator delete[](void* pointer, std::size_t) noexcept {
    release(pointer);
}
void operator delete(void* pointer, const std::nothrow_t&) noexcept {
    release(pointer);
}
void operator delete[](void* pointer, const std::nothrow_t&) noexcept {
    release(pointer);
}

namespace {

constexpr std::size_t megabyte = 1024 * 1024;

// The most a levels file may cost beyond the table's five records.
constexpr std::size_t extraMemoryAllowed = megabyte;

// The heap's high-water mark above what was in use when the meter was made.
class HeapMeter {
public:
    HeapMeter() : start(liveBytes.load()) { peakBytes = start; }
    std::size_t extraPeak() const { return peakBytes.load() - start; }

private:
    std::size_t start;
};

// A file's text made while it is read: `head`, then `body` repeated whole for up to
// `bodyBytes` characters, then `tail`. Only one chunk of it exists at any time.
class MadeUpText : public std::streambuf {
public:
    MadeUpText(std::string head, std::string body, std::uint64_t bodyBytes, std::string tail)
        : head(std::move(head)),
          body(std::move(body)),
          bodyBytes(bodyBytes),
          tail(std::move(tail)),
          chunk(64 * 1024) {
        if (!this->body.empty()) {
            this->bodyBytes -= bodyBytes % this->body.size();
        }
    }

protected:
    int_type underflow() override {
        std::size_t filled = 0;
        while (filled < chunk.size() && position < totalBytes()) {
            chunk[filled++] = at(position++);
        }
        if (filled == 0) {
            return traits_type::eof();
        }
        setg(chunk.data(), chunk.data(), chunk.data() + filled);
        return traits_type::to_int_type(chunk[0]);
    }

private:
    std::uint64_t totalBytes() const { return head.size() + bodyBytes + tail.size(); }
    char at(std::uint64_t index) const {
        if (index < head.size()) {
            return head[index];
        }
        index -= head.size();
        if (index < bodyBytes) {
            return body[index % body.size()];
        }
        return tail[index - bodyBytes];
    }

    std::string head;
    std::string body;
    std::uint64_t bodyBytes;
    std::string tail;
    std::vector<char> chunk;
    std::uint64_t position = 0;
};

const std::string header = "LEVEL,DIVISOR MIN,DIVISOR MAX,DIVIDEND MIN,DIVIDEND MAX\n";
const std::string fiveLevels =
    "BEGINNER,2,5,30,99 a\nNOVICE,2,9,100,999 b\nINTERMEDIATE,6,12,150,1999 c\n"
    "ADVANCED,11,30,200,2999 d\nEXPERT,13,99,1000,9999 e\n";
const LevelRows fiveRows = {{2, 5, 30, 99},
                            {2, 9, 100, 999},
                            {6, 12, 150, 1999},
                            {11, 30, 200, 2999},
                            {13, 99, 1000, 9999}};

struct LargeFile {
    const char* name;
    std::string head;
    std::string body;
    std::uint64_t bodyBytes;
    std::string tail;
    LevelRows expected;
    bool endedAtEnd;
};

constexpr std::int32_t int32Max = std::numeric_limits<std::int32_t>::max();

TEST(LevelFileMemory, StaysSmallWhateverTheFileHolds) {
    const LargeFile files[] = {
        {"64 MB of records after the five used", header + fiveLevels,
         "EXTRA,7,7,91,99 read but never used\n", 64 * megabyte, "END,", fiveRows, true},
        // Once the five records are read nothing can change the table: reading stops.
        {"64 MB of records without an END", header + fiveLevels, "EXTRA,7,7,91,99\n", 64 * megabyte,
         "", fiveRows, true},
        {"an 8 MB header", "", "header text, ", 8 * megabyte, "\nA,1,2,3,4 x\nEND,",
         LevelRows{{1, 2, 3, 4}}, true},
        {"an 8 MB label", header, "LABEL ", 8 * megabyte, ",1,2,3,4 x\nEND,",
         LevelRows{{1, 2, 3, 4}}, true},
        {"an 8 MB number", header + "A,", "9", 8 * megabyte, ",2,3,4 x\nEND,",
         LevelRows{{int32Max, 2, 3, 4}}, true},
        {"an 8 MB fourth number without a space", header + "A,1,2,3,4", "z", 8 * megabyte, "\nEND,",
         LevelRows{{1, 2, 3, 4}}, true},
        {"an 8 MB comment", header + "A,1,2,3,4 ", "comment ", 8 * megabyte, "\nEND,",
         LevelRows{{1, 2, 3, 4}}, true},
    };
    for (const LargeFile& file : files) {
        SCOPED_TRACE(file.name);
        MadeUpText text(file.head, file.body, file.bodyBytes, file.tail);
        std::istream in(&text);
        LevelTable table;
        table.reserve(usedLevelCount);  // the table's own records are no extra
        const HeapMeter meter;
        const bool endedAtEnd = readLevels(in, table);
        EXPECT_LE(meter.extraPeak(), extraMemoryAllowed);
        EXPECT_EQ(endedAtEnd, file.endedAtEnd);
        EXPECT_EQ(rowsOf(table), file.expected);
    }
}

TEST(LevelFileMemory, TheMeterSeesWhatIsHeld) {
    const HeapMeter meter;
    {
        const std::vector<char> held(2 * megabyte);
        EXPECT_GE(meter.extraPeak(), 2 * megabyte);
    }
    EXPECT_GE(meter.extraPeak(), 2 * megabyte);
}

TEST(LevelFileMemory, RecordsAfterTheFifthAreReadButNotKept) {
    MadeUpText text(header + fiveLevels + "SIXTH,3,3,50,60 x\n", "", 0, "END,");
    std::istream in(&text);
    LevelTable table;
    EXPECT_TRUE(readLevels(in, table));
    EXPECT_EQ(rowsOf(table), fiveRows);
}

}  // namespace
