#include "platform/qt/gbk_text.h"

#include <string>
#include <string_view>

#include "platform/code_page.h"

namespace morvane {

namespace {

std::u16string_view Units(QStringView text) {
  return {reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size())};
}

}  // namespace

QString ToQString(const Text& text) {
  const int units = MultiByteToWide(kCodePageGbk, text.view(), nullptr, 0);
  if (units <= 0) return {};
  QString out(units, Qt::Uninitialized);
  const int written =
      MultiByteToWide(kCodePageGbk, text.view(), reinterpret_cast<char16_t*>(out.data()), units);
  out.truncate(written);
  return out;
}

Text ToText(QStringView text) {
  const std::u16string_view units = Units(text);
  const int bytes = WideToMultiByte(kCodePageGbk, units, nullptr, 0);
  if (bytes <= 0) return {};
  std::string out(static_cast<std::size_t>(bytes), '\0');
  const int written = WideToMultiByte(kCodePageGbk, units, out.data(), bytes);
  out.resize(static_cast<std::size_t>(written));
  return Text(std::move(out));
}

int GbkByteCount(QStringView text) {
  return WideToMultiByte(kCodePageGbk, Units(text), nullptr, 0);
}

}  // namespace morvane
