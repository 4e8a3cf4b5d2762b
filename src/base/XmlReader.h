// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace qx {

// One element of a small XML document, with what it holds.
struct TXmlElement {
    std::string Name;
    std::vector<std::pair<std::string, std::string>> Attributes;
    std::string Text; // its own text (not its children's), entities resolved, UTF-8
    std::vector<TXmlElement> Children;

    const std::string* Attribute(std::string_view name) const;
    const TXmlElement* Child(std::string_view name) const;
    // The text of the first child of that name; empty when there is none.
    std::string ChildText(std::string_view name) const;
};

// Reads a whole document into its root element: elements, attributes, text, character and
// the five named entities, CDATA, comments and processing instructions. Files that are not
// well formed are refused with the line of the fault in error; so are documents with a DOCTYPE
// (their entities are not expanded, ever) and elements nested deeper than 100.
std::optional<TXmlElement> ParseXml(std::string_view text, std::string& error);

} // namespace qx
