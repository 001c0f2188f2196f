// Stands in a tab for a settings page that is not built yet: it offers the
// page operations over no controls, so the main window and the commands work
// unchanged around it. page_factory.cpp replaces it page by page.
#pragma once

#include <QLabel>
#include <QVBoxLayout>

#include "pages/settings_page.h"

namespace lx47::app {

class PlaceholderPage final : public pages::SettingsPage {
 public:
  PlaceholderPage(const QString& title, QWidget* parent) : SettingsPage(parent) {
    m_PageTitle = title;
    auto* layout = new QVBoxLayout(this);
    auto* label = new QLabel(title, this);
    label->setAlignment(Qt::AlignCenter);
    label->setEnabled(false);
    layout->addWidget(label);
  }
  void LoadFromEntry(DeviceEntry&, int) override {}
  void EnableControls(bool, int) override {}
  bool StoreToBlock(DeviceEntry&, bool) override { return true; }
};

}  // namespace lx47::app
