// plainread: the yardstick of the import benchmark. Reads every line of a
// file the plainest way, with fgets into a 2000-byte buffer, and cuts each
// line down to its first word in place, as a reader of DXF group codes does
// at the least. Prints the number of lines read (a line longer than 1999
// characters counts once per piece that fgets returns) and a checksum of
// the words, so that none of the work can be left out.
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
  if (argc != 2 || std::strcmp(argv[1], "--help") == 0) {
    std::fputs("usage: plainread FILE\n\nReads FILE line by line with fgets, cuts each line to its first word and\n"
               "prints: lines N words-checksum C\n",
               argc == 2 ? stdout : stderr);
    return argc == 2 ? 0 : 2;
  }
  std::FILE* file = std::fopen(argv[1], "r");
  if (!file) {
    std::fprintf(stderr, "plainread: cannot open %s: %s\n", argv[1], std::strerror(errno));
    return 1;
  }
  static char line[2000];
  uint64_t lines = 0;
  uint64_t checksum = 0;
  while (std::fgets(line, sizeof line, file)) {
    ++lines;
    char* word = line;
    while (*word == ' ' || *word == '\t') ++word;
    char* end = word;
    while (*end && *end != ' ' && *end != '\t' && *end != '\n' && *end != '\r') ++end;
    *end = '\0';
    checksum = checksum * 31 + static_cast<uint64_t>(end - word) + static_cast<unsigned char>(*word);
  }
  const bool failed = std::ferror(file) != 0;
  std::fclose(file);
  if (failed) {
    std::fprintf(stderr, "plainread: cannot read %s\n", argv[1]);
    return 1;
  }
  std::printf("lines %llu words-checksum %llu\n", static_cast<unsigned long long>(lines),
              static_cast<unsigned long long>(checksum));
  return 0;
}
