#include <algorithm>
#include <iterator>

#include "texts/string_table.h"
#include "texts/texts.h"

namespace lx47::texts {

std::string_view Text(int id) {
  using table::kTable;
  const auto* end = std::end(kTable);
  const auto* it = std::lower_bound(std::begin(kTable), end, id, [](const table::Entry& e, int n) {
    return static_cast<int>(e.id) < n;
  });
  if (it == end || static_cast<int>(it->id) != id) return {};
  return it->text;
}

}  // namespace lx47::texts
