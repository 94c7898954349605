#pragma once

// How the tools read their input files (a script, a timeline): "-" is standard
// input, every line has a bound, and a read error is told apart from the end.
// Also what an input is to the outputs, which must never be one of them.

#include <sys/stat.h>
#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <istream>
#include <optional>
#include <streambuf>
#include <string>
#include <vector>

namespace tambrix::io
{

// The longest line a tool reads, in bytes: room for a chunk of 16 MiB in hex,
// with its words around it.
inline constexpr std::size_t maxLineBytes = (std::size_t{1} << 25) + (std::size_t{1} << 16);

// Which file a name or a stream is: its device and inode.
struct FileId
{
    dev_t device = 0;
    ino_t inode = 0;
    bool operator==(const FileId& other) const { return device == other.device && inode == other.inode; }
    static FileId of(const struct stat& status) { return {status.st_dev, status.st_ino}; }
};

// The file open as `fd`, or nothing when it is not open.
std::optional<FileId> fileIdOf(int fd);

// A file the run reads, which none of its outputs may be.
struct Input
{
    std::string what; // e.g. "the timeline file"
    std::string path; // "-" is standard input

    // How a message names it: "the timeline file 't.txt'", "the script (standard input)".
    std::string named() const;
    // The file it is, or nothing when there is none (yet). Character devices and
    // sockets (a terminal, /dev/null) are nothing here: writing to one of them
    // takes nothing away from what is read from it.
    std::optional<FileId> id() const;
};

enum class LineRead
{
    line,       // a line, without its newline (the last one may have none)
    endOrError, // nothing more to read, or a read error (see InputFile::readError): a
                // line the error cut short is dropped
    tooLong,    // longer than the bound; nothing more is read
};

// Reads the next line of `in` into `line`, at most maxLineBytes of it, and counts it in
// `number`. A byte-order mark that begins the first line is left out (editors write one).
LineRead readLine(std::istream& in, std::string& line, std::int64_t& number);

// Why readLine refused a line, which a message names as "NAME:LINE: " before it.
inline const std::string lineTooLong = "line longer than " + std::to_string(maxLineBytes) + " bytes";

// An input file opened for reading: a file by its name, or standard input for
// "-" (refused when it was closed as the tool started).
class InputFile
{
public:
    InputFile();
    ~InputFile();
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    // False, with error(), when it cannot be read: "cannot read NAME: REASON".
    bool open(const std::string& path);
    std::istream& stream() noexcept { return stream_; }
    // How messages name it: "standard input", or the file's name as a message shows it.
    const std::string& name() const noexcept { return name_; }
    const std::string& error() const noexcept { return error_; }
    // When a read failed: "cannot read NAME: a read error cut it short: REASON"; otherwise empty.
    std::string readError() const;
    // Whether `buffer` is an InputFile's whose read failed.
    static bool readFailed(const std::streambuf* buffer);

private:
    std::string quotedName() const;

    class Buffer : public std::streambuf
    {
    public:
        int fd = -1;
        int failure = 0; // the errno of a failed read

    protected:
        int_type underflow() override;

    private:
        char data_[1 << 16];
    };

    Buffer buffer_;
    std::istream stream_;
    bool owned_ = false;
    std::string name_;
    std::string error_;
};

} // namespace tambrix::io
