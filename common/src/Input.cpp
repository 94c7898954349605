#include "tambrix/io/Input.h"

#include "tambrix/io/Tool.h"
#include "tambrix/text/Words.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace tambrix::io
{

std::optional<FileId> fileIdOf(int fd)
{
    struct stat status = {};
    if (::fstat(fd, &status) != 0)
        return std::nullopt;
    return FileId::of(status);
}

std::string Input::named() const
{
    return what + (path == "-" ? " (standard input)" : " '" + text::printablePath(path) + "'");
}

std::optional<FileId> Input::id() const
{
    struct stat status = {};
    if (path == "-" ? ::fstat(STDIN_FILENO, &status) != 0 : ::stat(path.c_str(), &status) != 0)
        return std::nullopt;
    // Reading and writing share a terminal, /dev/null or a socket without harm.
    if (S_ISCHR(status.st_mode) || S_ISSOCK(status.st_mode))
        return std::nullopt;
    return FileId::of(status);
}

LineRead readLine(std::istream& in, std::string& line, std::int64_t& number)
{
    line.clear();
    ++number;
    std::streambuf* buffer = in.rdbuf(); // the tools' streams always have one
    using Traits = std::streambuf::traits_type;
    for (Traits::int_type c = buffer->sbumpc(); c != '\n'; c = buffer->sbumpc())
    {
        if (Traits::eq_int_type(c, Traits::eof()))
        {
            if (line.empty() || InputFile::readFailed(buffer))
                return LineRead::endOrError;
            break;
        }
        if (line.size() == maxLineBytes)
            return LineRead::tooLong;
        // A long line gets its whole room at once, instead of being copied as it doubles.
        if (line.size() == line.capacity() && line.size() >= (std::size_t{1} << 20))
            line.reserve(maxLineBytes);
        line += Traits::to_char_type(c);
    }
    if (number == 1 && line.compare(0, 3, "\xEF\xBB\xBF") == 0)
        line.erase(0, 3);
    return LineRead::line;
}

InputFile::InputFile() : stream_(&buffer_) {}

InputFile::~InputFile()
{
    if (owned_)
        ::close(buffer_.fd);
}

bool InputFile::open(const std::string& path)
{
    name_ = path == "-" ? "standard input" : text::printablePath(path);
    const auto refuse = [this](const std::string& reason)
    {
        error_ = "cannot read " + quotedName() + ": " + reason;
        return false;
    };
    if (path == "-")
    {
        if (standardInputWasClosed())
            return refuse("it was closed");
        buffer_.fd = STDIN_FILENO;
        return true;
    }
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOCTTY | O_CLOEXEC);
    struct stat status = {};
    if (fd < 0 || ::fstat(fd, &status) != 0)
    {
        const int reason = errno;
        if (fd >= 0)
            ::close(fd);
        return refuse(std::strerror(reason));
    }
    buffer_.fd = fd;
    owned_ = true;
    if (standardInputWasClosed() && fileIdOf(fd) == fileIdOf(STDIN_FILENO))
        return refuse("it is standard input, which was closed");
    return !S_ISDIR(status.st_mode) || refuse(std::strerror(EISDIR));
}

std::string InputFile::quotedName() const
{
    return name_ == "standard input" ? name_ : "'" + name_ + "'";
}

bool InputFile::readFailed(const std::streambuf* buffer)
{
    const auto* file = dynamic_cast<const Buffer*>(buffer);
    return file != nullptr && file->failure != 0;
}

std::string InputFile::readError() const
{
    if (buffer_.failure == 0)
        return {};
    return "cannot read " + quotedName() + ": a read error cut it short: " + std::strerror(buffer_.failure);
}

InputFile::Buffer::int_type InputFile::Buffer::underflow()
{
    if (gptr() < egptr())
        return traits_type::to_int_type(*gptr());
    if (failure != 0 || fd < 0)
        return traits_type::eof();
    ssize_t got = 0;
    do
        got = ::read(fd, data_, sizeof data_);
    while (got < 0 && errno == EINTR);
    if (got <= 0)
    {
        failure = got < 0 ? errno : 0;
        return traits_type::eof();
    }
    setg(data_, data_, data_ + got);
    return traits_type::to_int_type(*gptr());
}

} // namespace tambrix::io
