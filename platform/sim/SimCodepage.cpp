#include "platform/sim/SimCodepage.h"

#include <iconv.h>

#include <cerrno>
#include <stdexcept>

namespace varnel::sim {

namespace {

class Converter {
 public:
  Converter(const std::string& to, const std::string& from)
      : handle_(iconv_open(to.c_str(), from.c_str())) {
    if (handle_ == reinterpret_cast<iconv_t>(-1))
      throw std::invalid_argument("iconv cannot convert from " + from + " to " + to);
  }
  ~Converter() { iconv_close(handle_); }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  // Converts as much as it can. At a sequence it cannot convert it calls `onBad`, which
  // either returns the text to put in its place, advancing `in` past it, or nothing to give
  // up.
  template <typename OnBad>
  std::optional<std::string> Run(std::string_view input, OnBad onBad) {
    std::string output;
    char buffer[4096];
    char* in = const_cast<char*>(input.data());
    std::size_t inLeft = input.size();
    while (true) {
      char* out = buffer;
      std::size_t outLeft = sizeof buffer;
      const std::size_t result =
          iconv(handle_, inLeft > 0 ? &in : nullptr, &inLeft, &out, &outLeft);
      output.append(buffer, static_cast<std::size_t>(out - buffer));
      if (result != static_cast<std::size_t>(-1)) {
        if (inLeft == 0) {
          // Flush any shift state.
          out = buffer;
          outLeft = sizeof buffer;
          iconv(handle_, nullptr, nullptr, &out, &outLeft);
          output.append(buffer, static_cast<std::size_t>(out - buffer));
          return output;
        }
        continue;
      }
      if (errno == E2BIG) continue;
      // EILSEQ, or EINVAL for a sequence cut short at the end.
      std::optional<std::string> replacement = onBad(in, inLeft);
      if (!replacement) return std::nullopt;
      output += *replacement;
      iconv(handle_, nullptr, nullptr, nullptr, nullptr);
    }
  }

 private:
  iconv_t handle_;
};

// A byte of no character becomes U+FFFD, as MultiByteToWideChar puts a default character in
// its place.
std::optional<std::string> ReplacementCharacter(char*& in, std::size_t& inLeft) {
  ++in;
  --inLeft;
  return std::string("\xEF\xBF\xBD");
}

// A character with no form in the code page becomes "?": its whole UTF-8 sequence goes.
std::optional<std::string> DefaultCharacter(char*& in, std::size_t& inLeft) {
  std::size_t length = 1;
  while (length < inLeft && (static_cast<unsigned char>(in[length]) & 0xC0) == 0x80) ++length;
  in += length;
  inLeft -= length;
  return std::string("?");
}

std::string IconvName(unsigned codepage) {
  return codepage == 65001 ? "UTF-8" : "CP" + std::to_string(codepage);
}

}  // namespace

SimCodepage::SimCodepage(std::string codepage) : codepage_(std::move(codepage)) {
  Converter check(codepage_, "UTF-8");
}

std::string SimCodepage::AnsiToUtf8(std::string_view ansi) const {
  Converter converter("UTF-8", codepage_);
  return *converter.Run(ansi, ReplacementCharacter);
}

std::optional<std::string> SimCodepage::Utf8ToAnsi(std::string_view utf8) const {
  Converter converter(codepage_, "UTF-8");
  return converter.Run(utf8, [](char*&, std::size_t&) -> std::optional<std::string> {
    return std::nullopt;
  });
}

std::string SimCodepage::ConvertCodePage(unsigned from, unsigned to,
                                         std::string_view text) const {
  // Zero-terminated, as the system reads it.
  text = text.substr(0, text.find('\0'));
  std::optional<Converter> toUtf8;
  std::optional<Converter> fromUtf8;
  try {
    toUtf8.emplace("UTF-8", IconvName(from));
    fromUtf8.emplace(IconvName(to), "UTF-8");
  } catch (const std::invalid_argument&) {
    // A code page the system does not know has no length to give: the result is empty.
    return {};
  }
  const std::string utf8 = *toUtf8->Run(text, ReplacementCharacter);
  return to == 65001 ? utf8 : *fromUtf8->Run(utf8, DefaultCharacter);
}

}  // namespace varnel::sim
