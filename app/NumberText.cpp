#include "app/NumberText.h"

#include <charconv>
#include <climits>
#include <cmath>

namespace {

// Skips white space and a '+'; from_chars takes only '-' itself.
std::string_view NumberStart(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) ++i;
  text.remove_prefix(i);
  if (!text.empty() && text[0] == '+') {
    text.remove_prefix(1);
    // "+-1" is no number.
    if (!text.empty() && text[0] == '-') return {};
  }
  return text;
}

}  // namespace

bool ParseLeadingDouble(std::string_view text, double& value) {
  text = NumberStart(text);
  double parsed = 0.0;
  auto result =
      std::from_chars(text.data(), text.data() + text.size(), parsed, std::chars_format::general);
  if (result.ec != std::errc() || !std::isfinite(parsed)) return false;
  value = parsed;
  return true;
}

bool ParseWholeDouble(std::string_view text, double& value) {
  text = NumberStart(text);
  double parsed = 0.0;
  const char* end = text.data() + text.size();
  auto result = std::from_chars(text.data(), end, parsed, std::chars_format::general);
  if (result.ec != std::errc() || !std::isfinite(parsed)) return false;
  for (const char* p = result.ptr; p != end; ++p)
    if (!(*p == ' ' || (*p >= '\t' && *p <= '\r'))) return false;
  value = parsed;
  return true;
}

bool ParseLeadingInt(std::string_view text, int& value) {
  text = NumberStart(text);
  long long parsed = 0;
  auto result = std::from_chars(text.data(), text.data() + text.size(), parsed);
  if (result.ec == std::errc::result_out_of_range) {
    value = (!text.empty() && text[0] == '-') ? INT_MIN : INT_MAX;
    return true;
  }
  if (result.ec != std::errc()) return false;
  value = parsed < INT_MIN ? INT_MIN : parsed > INT_MAX ? INT_MAX : static_cast<int>(parsed);
  return true;
}
