// prvdrinfo: the command-line face of the library. The command line is read in cli.cpp;
// main guards the standard streams and reports failures.

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <exception>
#include <streambuf>
#include <iostream>
#include <string>

#include "commands.h"
#include "prvdrinfo/foundation/error.h"

namespace {

// One printable line, whatever the message holds: error texts quote untrusted input.
// Control characters (C0, DEL, C1) become spaces and bytes that are no UTF-8 become '?',
// so nothing reaches the terminal as an escape sequence.
std::string OneLine(const std::string& text) {
  std::string line;
  line.reserve(text.size());
  size_t i = 0;
  while (i < text.size()) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c < 0x80) {
      line += (c < 0x20 || c == 0x7F) ? ' ' : static_cast<char>(c);
      ++i;
      continue;
    }
    size_t length = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC2 ? 2 : 0;
    if (c > 0xF4 || i + length > text.size()) length = 0;
    uint32_t code = length == 4 ? c & 0x07u : length == 3 ? c & 0x0Fu : c & 0x1Fu;
    for (size_t k = 1; k < length; ++k) {
      const auto next = static_cast<unsigned char>(text[i + k]);
      if ((next & 0xC0) != 0x80) {
        length = 0;
        break;
      }
      code = code << 6 | (next & 0x3Fu);
    }
    const bool overlong = (length == 3 && code < 0x800) || (length == 4 && code < 0x10000);
    if (length == 0 || overlong || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
      line += '?';
      ++i;
    } else if (code < 0xA0) {
      line += ' ';
      i += length;
    } else {
      line.append(text, i, length);
      i += length;
    }
  }
  return line;
}

int Fail(int status, const std::string& message) {
  std::cerr << "prvdrinfo: " << OneLine(message) << '\n';
  return status;
}

// A closed standard stream would hand its number to the next file opened. It is held
// with /dev/null opened the wrong way round, so that using it still fails.
void HoldClosedStandardStreams() {
  for (int fd = 0; fd <= 2; ++fd) {
    if (fcntl(fd, F_GETFD) == -1 && errno == EBADF) {
      const int held = open("/dev/null", fd == 0 ? O_WRONLY : O_RDONLY);
      if (held != fd && held >= 0) close(held);
    }
  }
}

// Standard output written with write(2), keeping the reason of the first write that
// failed: a command goes on working after it (the demo opens files, creates folders), and
// errno says something else by the time the command ends.
class StandardOutput : public std::streambuf {
 public:
  int FirstError() const { return firstError_; }

 protected:
  int_type overflow(int_type ch) override {
    if (!Drain()) return traits_type::eof();
    if (!traits_type::eq_int_type(ch, traits_type::eof())) {
      *pptr() = traits_type::to_char_type(ch);
      pbump(1);
    }
    return traits_type::not_eof(ch);
  }
  int sync() override { return Drain() ? 0 : -1; }

 private:
  bool Drain() {
    if (pbase() == nullptr) {
      setp(buffer_, buffer_ + sizeof buffer_);
      return true;
    }
    const char* next = pbase();
    while (next < pptr()) {
      const ssize_t written = write(STDOUT_FILENO, next, static_cast<size_t>(pptr() - next));
      if (written < 0 && errno == EINTR) continue;
      if (written <= 0) {
        if (firstError_ == 0) firstError_ = written < 0 ? errno : EIO;
        setp(buffer_, buffer_ + sizeof buffer_);
        return false;
      }
      next += written;
    }
    setp(buffer_, buffer_ + sizeof buffer_);
    return true;
  }

  char buffer_[8192];
  int firstError_ = 0;
};

// Output that did not arrive is a failure, whatever the command thought of its work.
int CheckOutput(int status, const StandardOutput& output) {
  std::cout.flush();
  if (std::cout && output.FirstError() == 0) return status;
  const int error = output.FirstError();
  return Fail(status == 0 ? 1 : status,
              std::string("cannot write to standard output") +
                  (error ? std::string(": ") + std::strerror(error) : ""));
}

}  // namespace

int main(int argc, char** argv) {
  HoldClosedStandardStreams();
  StandardOutput output;
  std::cout.rdbuf(&output);
  int status = 0;
  try {
    status = prvdrinfo::tool::RunCommandLine(argc, argv);
  } catch (const prvdrinfo::tool::UsageError& e) {
    status = Fail(2, std::string(e.what()) + " (see prvdrinfo --help)");
  } catch (const prvdrinfo::CError& e) {
    status = Fail(1, e.Description());
  } catch (const std::exception& e) {
    status = Fail(1, e.what());
  }
  const int result = CheckOutput(status, output);
  std::cout.rdbuf(nullptr);  // the buffer ends with main; nothing may write through it after
  return result;
}
