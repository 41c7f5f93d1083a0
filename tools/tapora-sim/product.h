// The product as the installer handles it: where the build left its files,
// and installing them into a device folder or removing them, with the setup
// library's hooks around each, as the device's cabinet installer does.
#pragma once

#include <filesystem>

#include "tools/tapora-sim/report.h"

namespace sim {

// The build's product: its device tree (\Windows\tapora.dll, \Windows\STOCK.DLL
// and the language tree) and the setup library.
struct Product {
  std::filesystem::path deviceTree;
  std::filesystem::path setupLibrary;
};
Product BuildProduct();

// Both run on the current device folder and answer 0, or 1 when a hook
// cancelled. Every hook and export they call is reported.
int Install(const Product& product, Report& report);
int Uninstall(const Product& product, Report& report);

}  // namespace sim
