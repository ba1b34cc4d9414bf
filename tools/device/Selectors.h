// Which records of a table a command means: by list and Id as the main window numbers its rows
// ("user:0", "built-in:3"), a whole list, or by size and rate as the lists show them
// ("1920x1080@59.94", "user:1280x720").
#pragma once

#include <string>
#include <vector>

#include "format/FormatTable.h"

namespace devicetool {

struct Selector {
    enum class List { Any, Builtin, User };
    List In = List::Any;
    enum class Kind { All, Id, Size };
    Kind By = Kind::All;
    int Id = 0;
    int Width = 0;
    int Height = 0;
    std::string Rate;  // "%.2f" as the list shows it; empty for any rate
    std::string Text;  // as given
};

// False, with the reason, for a text that is no selector.
bool ParseSelector(const std::string& text, Selector& selector, std::string& why);

// The record indexes the selector names, in table order.
std::vector<size_t> Select(const Selector& selector, const fmt::FormatTable& table);

// "built-in 3", "user 0": the record's list and Id.
std::string ListName(const fmt::FormatTable& table, size_t index);
int ListId(const fmt::FormatTable& table, size_t index);

}  // namespace devicetool
