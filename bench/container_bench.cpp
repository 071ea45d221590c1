// The cost of reading a cover from the file itself where it lies far from the
// start: a 5 GB sparse M4A whose moov follows mdat, and a 100 MB WAV whose
// "id3 " chunk is last. Prints the reads, the bytes read and the time.
//   container_bench [WORK_DIR]     (default: the system's temporary folder)
#include <fcntl.h>
#include <stdio.h>
#include <unistd.h>
#include <chrono>
#include <string>
#include "cover/file_picture.h"
#include "tests/support/container_builder.h"

namespace {

constexpr uint64_t M4A_MDAT_BYTES = 5ull << 30;
constexpr uint64_t WAV_DATA_BYTES = 100ull << 20;
constexpr int ROUNDS = 20;

class CountingFile : public ByteReader {
public:
    explicit CountingFile(const std::string& path) : fd(open(path.c_str(), O_RDONLY)) {}
    ~CountingFile() override { close(fd); }
    uint64_t Length() const override { return static_cast<uint64_t>(lseek(fd, 0, SEEK_END)); }
    size_t Read(uint64_t position, void* out, size_t count) const override
    {
        ssize_t got = pread(fd, out, count, static_cast<off_t>(position));
        ++reads;
        bytes += got > 0 ? static_cast<uint64_t>(got) : 0;
        return got > 0 ? static_cast<size_t>(got) : 0;
    }
    int fd;
    mutable uint64_t reads = 0, bytes = 0;
};

// Writes `head`, leaves a hole of `gap` bytes (sparse: no disk is used), then `tail`.
bool WriteSparse(const std::string& path, const Bytes& head, uint64_t gap, const Bytes& tail)
{
    int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    bool ok = fd >= 0 && pwrite(fd, head.data(), head.size(), 0) == static_cast<ssize_t>(head.size()) &&
              pwrite(fd, tail.data(), tail.size(), static_cast<off_t>(head.size() + gap)) ==
                  static_cast<ssize_t>(tail.size());
    return fd >= 0 && close(fd) == 0 && ok;
}

void Measure(const char* label, const std::string& path)
{
    CountingFile file(path);
    double best = 1e9;
    int32_t length = 0;
    for (int round = 0; round < ROUNDS; ++round) {
        file.reads = file.bytes = 0;
        auto start = std::chrono::steady_clock::now();
        PictureBuffer picture;
        ReadPictureFromFile(file, &picture);
        double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        best = ms < best ? ms : best;
        length = picture.length();
    }
    printf("%s: %llu reads, %llu bytes read (picture %d bytes), %.3f ms (best of %d)\n", label,
           static_cast<unsigned long long>(file.reads), static_cast<unsigned long long>(file.bytes), length, best,
           ROUNDS);
}

}  // namespace

int main(int argc, char** argv)
{
    std::string dir = argc > 1 ? argv[1] : "/tmp";
    Bytes picture(300 * 1024, 0x5A);
    picture[0] = 0xFF, picture[1] = 0xD8;

    std::string m4a = dir + "/container-bench.m4a";
    Bytes ftyp = Box("ftyp", Text("M4A ") + Bytes(4, 0) + Text("M4A mp42isom"));
    Bytes mdatHeader = BigEndian(1) + Text("mdat") + BigEndian(uint32_t(M4A_MDAT_BYTES >> 32)) +
                       BigEndian(uint32_t(M4A_MDAT_BYTES));
    Bytes moov = Mp4Moov(Box("covr", CoverData(picture)));
    if (!WriteSparse(m4a, ftyp + mdatHeader, M4A_MDAT_BYTES - mdatHeader.size(), moov))
        return perror("m4a"), 2;

    std::string wav = dir + "/container-bench.wav";
    Bytes id3 = RiffChunk("id3 ", Tag(3, 0, Frame3("APIC", Apic(picture))));
    Bytes head = Text("RIFF") + LittleEndian(uint32_t(4 + 24 + 8 + WAV_DATA_BYTES + id3.size())) + Text("WAVE") +
                 RiffChunk("fmt ", Bytes(16, 0)) + Text("data") + LittleEndian(uint32_t(WAV_DATA_BYTES));
    if (!WriteSparse(wav, head, WAV_DATA_BYTES, id3))
        return perror("wav"), 2;

    Measure("5 GB M4A, moov after mdat", m4a);
    Measure("100 MB WAV, id3 chunk last", wav);
    unlink(m4a.c_str());
    unlink(wav.c_str());
    return 0;
}
