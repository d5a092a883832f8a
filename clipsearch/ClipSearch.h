#pragma once
// The web search for text copied with Shift and Ctrl held: how the text is put into the
// request.

#include <string>
#include <string_view>

namespace varnel {

// The search request up to the text searched for.
inline constexpr std::string_view kSearchRequest = "https://www.google.com/search?hl=ja&source=hp&q=";

// The UTF-8 bytes of the copied text made safe for the request's query, so that the engine
// receives exactly that text: every byte of 0x80 and above is written %XX, and so is every
// ASCII character other than a letter, a digit or one of - . _ ~ (a space, & # + % and the
// other characters that would change the request). Where two bytes look like a double-byte
// character (a lead byte 0x81-0x9F or 0xE0-0xFC followed by 0x40-0xFC), both are written %XX
// as a pair; the engine decodes either form to the same text.
std::string EscapeSearchText(std::string_view bytes);

}  // namespace varnel
