// Running the built programs as a user does, and reading the XML they write.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace drawport::testing {

struct ProgramRun {
  int exitCode = -1;  // -1 when the program did not end by exiting
  std::string out;    // standard output
  std::string err;    // standard error
};

// Runs `program` with `arguments`, without a shell, with `input` on its
// standard input, and waits for it to end. A 32-bit program that this
// kernel cannot run itself is run through qemu-i386, as the user would.
ProgramRun runProgram(const std::string& program, const std::vector<std::string>& arguments,
                      const std::string& input = "");

// The whole content of a file; none when it cannot be read.
std::optional<std::string> readFile(const std::string& path);

// An XML element as read: attributes and character data with every
// reference resolved.
struct XmlElement {
  std::string name;
  std::vector<std::pair<std::string, std::string>> attributes;
  std::string text;  // the character data directly inside, concatenated
  std::vector<XmlElement> children;

  // The attribute's value, or null when the element has none of that name.
  const std::string* attribute(std::string_view attributeName) const;
};

// Reads a whole XML document, checking that it is well-formed: well-formed
// UTF-8 of characters XML allows, one root element, matching tags, quoted
// and unique attributes, known references only. None, with `error` saying
// where, otherwise. (DTDs are not read.)
std::optional<XmlElement> parseXml(std::string_view document, std::string* error);

// The elements named `name` in document order, `root` included.
std::vector<const XmlElement*> elementsNamed(const XmlElement& root, std::string_view name);

}  // namespace drawport::testing
