#include "ctl/edits.h"

#include <algorithm>

#include "ctl/exit_status.h"
#include "texts/formats.h"
#include "texts/texts.h"

namespace lx47::ctl {

using pagerules::DeviceForm;

namespace {

EditResult Refused(std::string_view field, std::string_view why) {
  EditResult r;
  r.status = kExitRefused;
  r.error = texts::CtlFieldMessageText(field, why);
  return r;
}

}  // namespace

EditResult ApplyEdits(const DeviceEntry& entry, const std::vector<Edit>& edits, const EditOptions& options) {
  EditResult result;
  result.block = entry.Block;
  if (result.block.size() < kConfigBlockSize) return Refused("Block", texts::Text(texts::TextId::SelectDeviceFirst));
  ConfigBlock block{std::span<std::uint8_t>(result.block)};
  DeviceForm form = pagerules::LoadDeviceForm(block, options.extended);
  // The Option page's connection password is on screen only while that page
  // is on display: the user is there when editing one of its fields.
  for (const Edit& e : edits) form.optionOnDisplay = form.optionOnDisplay || e.field->page == pagerules::Page::Option;

  const DeviceForm loaded = form;
  std::vector<const FieldDef*> left;  // the fields a Keep leaves as they are
  for (const Edit& e : edits) {
    if (!e.typed) continue;
    const FieldDef& f = *e.field;
    const bool asShown = f.get(loaded) == e.typed;
    if (f.extended && !options.extended) {
      if (options.unwritten == Unwritten::Refuse) return Refused(f.name, texts::Text(texts::TextId::CtlNeedsExtended));
      if (!asShown) result.kept.push_back(texts::CtlFieldMessageText(f.name, texts::Text(texts::TextId::CtlNeedsExtended)));
      left.push_back(&f);
      continue;
    }
    const FieldError error = f.set(form, *e.typed);
    if (!error.ok()) {
      if (options.unwritten == Unwritten::Keep && error.unavailable) {
        if (!asShown) result.kept.push_back(texts::CtlFieldMessageText(f.name, error.text));
        left.push_back(&f);
        continue;
      }
      return Refused(f.name, error.text);
    }
  }
  // A value the pages leave out of the store would silently not reach the
  // device.
  for (const Edit& e : edits) {
    if (!e.typed || std::find(left.begin(), left.end(), e.field) != left.end()) continue;
    const std::string why = WhyNotWritten(form, *e.field);
    if (why.empty()) continue;
    if (options.unwritten == Unwritten::Refuse) return Refused(e.field->name, why);
    if (e.field->get(loaded) != e.typed) result.kept.push_back(texts::CtlFieldMessageText(e.field->name, why));
  }

  const pagerules::FormStoreResult stored = pagerules::StoreDeviceForm(block, form);
  if (!stored.ok()) {
    const texts::TextId title = pagerules::RefusalTitle(stored.page);
    const std::string message =
        texts::RefusalText(stored.result.message, title == texts::TextId{} ? "" : texts::Text(title));
    return Refused(pagerules::FieldName(stored.result.field), message);
  }
  result.ok = true;
  result.status = kExitOk;
  return result;
}

}  // namespace lx47::ctl
