#include "app/song_info.h"

#include <initializer_list>
#include <string>

#include "platform/code_page.h"
#include "text/extract.h"
#include "text/primitives.h"
#include "web/web_request.h"

namespace morvane {

namespace {

// "song_name":" ... " and "play_num": ... ,
const Text kSongNameLeft("song_name\":\"");
const Text kSongNameRight("\"");
const Text kPlayCountLeft("play_num\":");
const Text kPlayCountRight(",");

bool IsUnreserved(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
         c == '.' || c == '_' || c == '~';
}

bool IsHexDigit(char c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

// Where the value of the "s" parameter begins, or -1 when there is none.
int ShareParameterValue(const Text& address) {
  const int query = FindText(address, "?");
  if (query == -1) return -1;
  for (const char* key : {"?s=", "&s="}) {
    const int at = FindText(address, key, query);
    if (at != -1) return at + 3;
  }
  return -1;
}

// The text before the first of the given ends, or all of it.
Text BeforeFirstOf(Text text, std::initializer_list<const char*> ends) {
  for (const char* end : ends) {
    const int at = FindText(text, end);
    if (at != -1) text = TextLeft(text, at - 1);
  }
  return text;
}

}  // namespace

Text ShareIdFromAddress(const Text& address) {
  const int value = ShareParameterValue(address);
  const Text id = value != -1
                      ? BeforeFirstOf(TextMid(address, value, TextLength(address)), {"&", "#"})
                      : TextAfterLast(address, "=");
  // A line break or blank typed after the address is not part of the id.
  return BeforeFirstOf(id, {" ", "\t", "\r", "\n"});
}

Text SongInfoAddress(const Text& shareId) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  const std::string_view id = shareId.view();
  std::string encoded;
  encoded.reserve(id.size() * 3);
  for (std::size_t i = 0; i < id.size(); ++i) {
    const char c = id[i];
    const bool escape =
        c == '%' && i + 2 < id.size() && IsHexDigit(id[i + 1]) && IsHexDigit(id[i + 2]);
    if (IsUnreserved(c) || escape) {
      encoded.push_back(c);
    } else {
      const auto byte = static_cast<unsigned char>(c);
      encoded.push_back('%');
      encoded.push_back(kHex[byte >> 4]);
      encoded.push_back(kHex[byte & 0x0F]);
    }
  }
  return ConcatText(Text("http://"), kSongInfoHost, kSongInfoPathAndQuery,
                    Text(std::move(encoded)));
}

Text Utf8ToAnsiText(const Bytes& body) {
  if (BytesEqual(body, Bytes())) return {};
  // Size first, then convert: the same two-call pattern as the platform's.
  const int units = MultiByteToWide(kCodePageUtf8, body.view(), nullptr, 0);
  if (units <= 0) return {};
  std::u16string utf16(static_cast<std::size_t>(units), u'\0');
  MultiByteToWide(kCodePageUtf8, body.view(), utf16.data(), units);
  const int size = WideToMultiByte(kCodePageGbk, utf16, nullptr, 0);
  if (size <= 0) return {};
  Bytes gbk = BlankBytes(size);
  WideToMultiByte(kCodePageGbk, utf16, gbk.data(), BytesLength(gbk));
  return BytesToText(gbk);
}

void QuerySongInfo(Program& program) {
  Window& window = program.window;
  ProgramState& state = program.state;
  const Text address = window.ReadText(Control::编辑框1);
  state.shareId = ShareIdFromAddress(address);
  const Bytes body = WebRequest(program.http, SongInfoAddress(state.shareId), 0);
  state.lastSongRecord = Utf8ToAnsiText(body);
  window.WriteText(Control::透明标签12,
                   MiddleText(state.lastSongRecord, kSongNameLeft, kSongNameRight));
  window.WriteText(Control::透明标签11,
                   MiddleText(state.lastSongRecord, kPlayCountLeft, kPlayCountRight));
}

}  // namespace morvane
