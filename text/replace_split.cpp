// Replacing occurrences and splitting at a separator.
#include "text/char_step.h"
#include "text/primitives.h"

namespace morvane {

Text ReplaceText(const Text& text, const Text& search, const std::optional<Text>& replacement,
                 bool caseSensitive) {
  const std::string_view s = text.view();
  const std::string_view needle = search.view();
  if (s.empty() || needle.empty()) return text;
  const std::string_view put = replacement ? replacement->view() : std::string_view();
  std::string out;
  out.reserve(s.size());
  std::size_t p = 0;
  while (p + needle.size() <= s.size()) {
    if (detail::BytesMatchAt(s, p, needle, !caseSensitive)) {
      out.append(put);
      p += needle.size();
    } else {
      const std::size_t w = detail::CharWidth(s, p);
      out.append(s.substr(p, w));
      p += w;
    }
  }
  out.append(s.substr(std::min(p, s.size())));
  return Text(std::move(out));
}

TextList SplitText(const Text& text, const Text& separator) {
  TextList list;
  const std::string_view s = text.view();
  const std::string_view sep = separator.view();
  if (s.empty()) return list;
  if (sep.empty()) {
    list.push_back(text);
    return list;
  }
  std::size_t q = 0;
  std::size_t p = 0;
  while (p + sep.size() <= s.size()) {
    if (s.compare(p, sep.size(), sep) == 0) {
      list.push_back(Text(s.substr(q, p - q)));
      p += sep.size();
      q = p;
    } else {
      p += detail::CharWidth(s, p);
    }
  }
  if (q < s.size()) list.push_back(Text(s.substr(q)));
  return list;
}

}  // namespace morvane
