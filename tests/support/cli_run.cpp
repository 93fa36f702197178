#include "support/cli_run.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

#include "host/utf8.h"

namespace drawport::testing {
namespace {

// --- Running programs.

struct Pipe {
  int read = -1, write = -1;
  bool open() {
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0) return false;
    read = ends[0], write = ends[1];
    return true;
  }
};

void closeIfOpen(int& descriptor) {
  if (descriptor >= 0) ::close(descriptor);
  descriptor = -1;
}

[[noreturn]] void execInChild(const std::string& program, const std::vector<std::string>& arguments) {
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(program.c_str()));
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  ::execv(program.c_str(), argv.data());
  if (errno == ENOEXEC) {
    // A kernel without 32-bit support: the user runs such programs through
    // user-mode emulation.
    argv.insert(argv.begin(), const_cast<char*>("qemu-i386"));
    ::execvp("qemu-i386", argv.data());
  }
  const std::string message = "cannot run " + program + ": " + std::strerror(errno) + "\n";
  if (::write(STDERR_FILENO, message.data(), message.size()) < 0) _exit(127);
  _exit(127);
}

// Feeds `input` and gathers both outputs until the program closes them.
void exchange(int in, int out, int err, const std::string& input, ProgramRun& run) {
  size_t fed = 0;
  if (input.empty()) closeIfOpen(in);
  char buffer[65536];
  while (in >= 0 || out >= 0 || err >= 0) {
    pollfd watched[3] = {{in, POLLOUT, 0}, {out, POLLIN, 0}, {err, POLLIN, 0}};
    if (::poll(watched, 3, -1) < 0) {
      if (errno == EINTR) continue;
      break;
    }
    if (in >= 0 && watched[0].revents) {
      const ssize_t put = ::write(in, input.data() + fed, input.size() - fed);
      if (put > 0) fed += static_cast<size_t>(put);
      if (put < 0 && errno != EINTR && errno != EAGAIN) fed = input.size();
      if (fed == input.size()) closeIfOpen(in);
    }
    int* sources[2] = {&out, &err};
    std::string* sinks[2] = {&run.out, &run.err};
    for (int i = 0; i < 2; ++i) {
      if (*sources[i] < 0 || !watched[i + 1].revents) continue;
      const ssize_t got = ::read(*sources[i], buffer, sizeof buffer);
      if (got > 0)
        sinks[i]->append(buffer, static_cast<size_t>(got));
      else if (got == 0 || errno != EINTR)
        closeIfOpen(*sources[i]);
    }
  }
  closeIfOpen(in);
}

// --- Reading XML.

bool isXmlCharacter(uint32_t code) {
  return code == 0x9 || code == 0xa || code == 0xd || (code >= 0x20 && code <= 0xd7ff) ||
         (code >= 0xe000 && code <= 0xfffd) || (code >= 0x10000 && code <= 0x10ffff);
}

void appendUtf8(std::string& out, uint32_t code) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xc0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3f));
  } else if (code < 0x10000) {
    out += static_cast<char>(0xe0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3f));
    out += static_cast<char>(0x80 | (code & 0x3f));
  } else {
    out += static_cast<char>(0xf0 | (code >> 18));
    out += static_cast<char>(0x80 | ((code >> 12) & 0x3f));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3f));
    out += static_cast<char>(0x80 | (code & 0x3f));
  }
}

bool isNameStart(char c) {
  return std::isalpha(static_cast<unsigned char>(c)) || c == '_' || c == ':' || static_cast<unsigned char>(c) >= 0x80;
}

bool isNameCharacter(char c) {
  return isNameStart(c) || std::isdigit(static_cast<unsigned char>(c)) || c == '-' || c == '.';
}

class XmlReader {
 public:
  explicit XmlReader(std::string_view text) : text_(text) {}

  std::optional<XmlElement> document(std::string* error) {
    std::optional<XmlElement> root;
    if (checkCharacters()) {
      if (text_.substr(0, 5) == "<?xml") skipPast("?>");
      skipMisc();
      if (ok_ && peek('<'))
        root = element();
      else
        fail("no root element");
      skipMisc();
      if (ok_ && at_ != text_.size()) fail("content after the root element");
    }
    if (!ok_) {
      if (error) *error = error_;
      return std::nullopt;
    }
    return root;
  }

 private:
  bool checkCharacters() {
    for (size_t i = 0; i < text_.size();) {
      uint32_t code = 0;
      const size_t length =
          orvhost::utf8Sequence(reinterpret_cast<const unsigned char*>(text_.data()) + i, text_.size() - i, code);
      if (length == 0) return fail("a byte that is no well-formed UTF-8", i);
      if (!isXmlCharacter(code)) return fail("a character XML does not allow", i);
      i += length;
    }
    return true;
  }

  bool fail(const std::string& what, size_t where) {
    if (ok_) error_ = what + " at byte " + std::to_string(where);
    ok_ = false;
    return false;
  }
  bool fail(const std::string& what) { return fail(what, at_); }

  bool peek(char c) const { return at_ < text_.size() && text_[at_] == c; }
  bool lookingAt(std::string_view s) const { return text_.substr(at_, s.size()) == s; }
  void skipBlanks() {
    while (at_ < text_.size() && std::strchr(" \t\r\n", text_[at_])) ++at_;
  }
  void skipPast(std::string_view end) {
    const size_t found = text_.find(end, at_);
    if (found == std::string_view::npos) {
      fail("unterminated " + std::string(text_.substr(at_, 4)));
      at_ = text_.size();
      return;
    }
    at_ = found + end.size();
  }

  // Comments, processing instructions and blanks around the root.
  void skipMisc() {
    for (;;) {
      skipBlanks();
      if (lookingAt("<!--"))
        skipComment();
      else if (lookingAt("<?"))
        skipPast("?>");
      else
        return;
    }
  }

  void skipComment() {
    const size_t end = text_.find("--", at_ + 4);
    if (end == std::string_view::npos || text_.substr(end, 3) != "-->") {
      fail("a malformed comment");
      at_ = text_.size();
      return;
    }
    at_ = end + 3;
  }

  std::string name() {
    const size_t start = at_;
    if (at_ >= text_.size() || !isNameStart(text_[at_])) {
      fail("a name expected");
      return {};
    }
    while (at_ < text_.size() && isNameCharacter(text_[at_])) ++at_;
    return std::string(text_.substr(start, at_ - start));
  }

  // A reference after its '&': appends what it stands for.
  void reference(std::string& out) {
    const size_t end = text_.find(';', at_);
    if (end == std::string_view::npos || end - at_ > 12) return void(fail("an unterminated reference"));
    const std::string_view body = text_.substr(at_, end - at_);
    at_ = end + 1;
    static const std::pair<std::string_view, char> kNamed[] = {
        {"lt", '<'}, {"gt", '>'}, {"amp", '&'}, {"quot", '"'}, {"apos", '\''}};
    for (const auto& [entity, character] : kNamed)
      if (body == entity) return void(out += character);
    if (body.size() < 2 || body[0] != '#') return void(fail("an unknown entity " + std::string(body)));
    const bool hex = body[1] == 'x';
    const std::string digits(body.substr(hex ? 2 : 1));
    char* stop = nullptr;
    const unsigned long code = digits.empty() ? 0 : std::strtoul(digits.c_str(), &stop, hex ? 16 : 10);
    if (digits.empty() || *stop || std::isspace(static_cast<unsigned char>(digits[0])) ||
        !isXmlCharacter(static_cast<uint32_t>(code)))
      return void(fail("a character reference to no XML character"));
    appendUtf8(out, static_cast<uint32_t>(code));
  }

  std::string attributeValue() {
    std::string value;
    if (!peek('"') && !peek('\'')) return fail("an unquoted attribute value"), value;
    const char quote = text_[at_++];
    while (ok_ && at_ < text_.size() && text_[at_] != quote) {
      const char c = text_[at_++];
      if (c == '<')
        fail("'<' in an attribute value");
      else if (c == '&')
        reference(value);
      else
        value += c;
    }
    if (!peek(quote)) fail("an attribute value left open");
    ++at_;
    return value;
  }

  XmlElement element() {
    XmlElement result;
    ++at_;  // '<'
    result.name = name();
    for (;;) {
      const size_t before = at_;
      skipBlanks();
      if (!ok_ || at_ >= text_.size()) return fail("an unterminated start tag"), result;
      if (lookingAt("/>")) return at_ += 2, result;
      if (peek('>')) break;
      if (at_ == before) return fail("no blank before an attribute"), result;
      std::string attributeName = name();
      skipBlanks();
      if (!peek('=')) return fail("'=' expected after " + attributeName), result;
      ++at_;
      skipBlanks();
      std::string value = attributeValue();
      if (result.attribute(attributeName)) return fail("a repeated attribute " + attributeName), result;
      result.attributes.emplace_back(std::move(attributeName), std::move(value));
    }
    ++at_;  // '>'
    content(result);
    if (!ok_) return result;
    at_ += 2;  // "</"
    if (name() != result.name) return fail("an end tag that does not match <" + result.name + ">"), result;
    skipBlanks();
    if (!peek('>')) return fail("an unterminated end tag"), result;
    ++at_;
    return result;
  }

  // Everything up to the element's end tag.
  void content(XmlElement& parent) {
    while (ok_) {
      if (at_ >= text_.size()) return void(fail("<" + parent.name + "> never ends"));
      if (lookingAt("</")) return;
      if (lookingAt("<!--")) {
        skipComment();
      } else if (lookingAt("<![CDATA[")) {
        const size_t end = text_.find("]]>", at_);
        if (end == std::string_view::npos) return void(fail("an unterminated CDATA section"));
        parent.text.append(text_.substr(at_ + 9, end - at_ - 9));
        at_ = end + 3;
      } else if (lookingAt("<?")) {
        skipPast("?>");
      } else if (peek('<')) {
        parent.children.push_back(element());
      } else if (peek('&')) {
        ++at_;
        reference(parent.text);
      } else if (lookingAt("]]>")) {
        return void(fail("']]>' in character data"));
      } else {
        parent.text += text_[at_++];
      }
    }
  }

  std::string_view text_;
  size_t at_ = 0;
  bool ok_ = true;
  std::string error_;
};

void collect(const XmlElement& element, std::string_view name, std::vector<const XmlElement*>& found) {
  if (element.name == name) found.push_back(&element);
  for (const XmlElement& child : element.children) collect(child, name, found);
}

}  // namespace

ProgramRun runProgram(const std::string& program, const std::vector<std::string>& arguments, const std::string& input) {
  ProgramRun run;
  Pipe in, out, err;
  if (!in.open() || !out.open() || !err.open()) {
    run.err = "cannot make pipes";
    return run;
  }
  // A program that ends before reading all of its input must not kill the
  // test with SIGPIPE.
  ::signal(SIGPIPE, SIG_IGN);
  const pid_t child = ::fork();
  if (child == 0) {
    ::dup2(in.read, STDIN_FILENO);
    ::dup2(out.write, STDOUT_FILENO);
    ::dup2(err.write, STDERR_FILENO);
    execInChild(program, arguments);
  }
  closeIfOpen(in.read);
  closeIfOpen(out.write);
  closeIfOpen(err.write);
  if (child < 0) {
    closeIfOpen(in.write), closeIfOpen(out.read), closeIfOpen(err.read);
    run.err = "cannot fork";
    return run;
  }
  exchange(in.write, out.read, err.read, input, run);
  int status = 0;
  while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  if (WIFEXITED(status)) run.exitCode = WEXITSTATUS(status);
  return run;
}

std::optional<std::string> readFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return std::nullopt;
  std::ostringstream content;
  content << file.rdbuf();
  return content.str();
}

const std::string* XmlElement::attribute(std::string_view attributeName) const {
  for (const auto& [key, value] : attributes)
    if (key == attributeName) return &value;
  return nullptr;
}

std::optional<XmlElement> parseXml(std::string_view document, std::string* error) {
  return XmlReader(document).document(error);
}

std::vector<const XmlElement*> elementsNamed(const XmlElement& root, std::string_view name) {
  std::vector<const XmlElement*> found;
  collect(root, name, found);
  return found;
}

}  // namespace drawport::testing
