// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/XmlReader.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdint>

namespace qx {

namespace {

constexpr int kMaxDepth = 100;

bool IsNameChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_' || c == '-' || c == '.' ||
           c == ':' || static_cast<unsigned char>(c) >= 0x80;
}

void AppendUtf8(std::string& out, std::uint32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

class TXmlParser {
public:
    explicit TXmlParser(std::string_view text) : m_text(text) {}

    std::optional<TXmlElement> Document(std::string& error) {
        if (m_text.starts_with("\xEF\xBB\xBF")) {
            m_at = 3;
        }
        std::optional<TXmlElement> root;
        while (Ok()) {
            SkipSpace();
            if (m_at == m_text.size()) {
                break;
            }
            if (Take("<?")) {
                SkipPast("?>");
            } else if (Take("<!--")) {
                SkipPast("-->");
            } else if (Peek("<!")) {
                Fault("a DOCTYPE or other declaration is not read");
            } else if (Peek("<") && !root) {
                root = Element(0);
            } else {
                Fault("only one root element and no text may stand outside it");
            }
        }
        if (Ok() && !root) {
            Fault("the document holds no element");
        }
        if (!Ok()) {
            error = "line " + std::to_string(Line()) + ": " + m_fault;
            return std::nullopt;
        }
        return root;
    }

private:
    bool Ok() const { return m_fault.empty(); }
    void Fault(std::string text) {
        if (m_fault.empty()) {
            m_fault = std::move(text);
        }
    }
    bool Peek(std::string_view what) const { return m_text.substr(m_at).starts_with(what); }
    bool Take(std::string_view what) {
        if (!Peek(what)) {
            return false;
        }
        m_at += what.size();
        return true;
    }
    void SkipSpace() {
        while (m_at < m_text.size() && std::isspace(static_cast<unsigned char>(m_text[m_at]))) {
            ++m_at;
        }
    }
    void SkipPast(std::string_view end) {
        const std::size_t found = m_text.find(end, m_at);
        if (found == std::string_view::npos) {
            Fault("\"" + std::string(end) + "\" is missing");
            m_at = m_text.size();
            return;
        }
        m_at = found + end.size();
    }
    std::size_t Line() const {
        const std::string_view before = m_text.substr(0, std::min(m_at, m_text.size()));
        return 1 + static_cast<std::size_t>(std::count(before.begin(), before.end(), '\n'));
    }

    std::string Name() {
        const std::size_t start = m_at;
        while (m_at < m_text.size() && IsNameChar(m_text[m_at])) {
            ++m_at;
        }
        if (m_at == start) {
            Fault("a name is missing");
        }
        return std::string(m_text.substr(start, m_at - start));
    }

    // Text up to the stop character, entities resolved.
    std::string Characters(char stop) {
        std::string out;
        while (Ok() && m_at < m_text.size() && m_text[m_at] != stop) {
            const char c = m_text[m_at++];
            if (c == '&') {
                Entity(out);
            } else if (c == '<' && stop != '<') {
                Fault("\"<\" in an attribute value");
            } else {
                out += c;
            }
        }
        return out;
    }

    void Entity(std::string& out) {
        const std::size_t end = m_text.find(';', m_at);
        if (end == std::string_view::npos || end - m_at > 10) {
            Fault("an entity without its \";\"");
            return;
        }
        const std::string_view name = m_text.substr(m_at, end - m_at);
        m_at = end + 1;
        static constexpr std::pair<std::string_view, char> kNamed[] = {
            {"lt", '<'}, {"gt", '>'}, {"amp", '&'}, {"quot", '"'}, {"apos", '\''}};
        for (const auto& [entity, character] : kNamed) {
            if (name == entity) {
                out += character;
                return;
            }
        }
        std::uint32_t code = 0;
        const bool hex = name.starts_with("#x");
        const std::string_view digits = name.substr(hex ? 2 : 1);
        const auto [last, fault] =
            std::from_chars(digits.data(), digits.data() + digits.size(), code, hex ? 16 : 10);
        if (!name.starts_with('#') || digits.empty() || fault != std::errc() ||
            last != digits.data() + digits.size() || code == 0 || code > 0x10FFFF ||
            (code >= 0xD800 && code <= 0xDFFF)) {
            Fault("the entity \"&" + std::string(name) + ";\" is not known");
            return;
        }
        AppendUtf8(out, code);
    }

    TXmlElement Element(int depth) {
        TXmlElement element;
        if (depth > kMaxDepth) {
            Fault("elements are nested too deep");
            return element;
        }
        Take("<");
        element.Name = Name();
        while (Ok()) {
            SkipSpace();
            if (Take("/>")) {
                return element;
            }
            if (Take(">")) {
                break;
            }
            std::string attribute = Name();
            SkipSpace();
            if (!Take("=")) {
                Fault("the attribute " + attribute + " has no value");
                break;
            }
            SkipSpace();
            const char quote = m_at < m_text.size() ? m_text[m_at] : '\0';
            if (quote != '"' && quote != '\'') {
                Fault("the value of " + attribute + " is not quoted");
                break;
            }
            ++m_at;
            std::string value = Characters(quote);
            if (!Take(std::string_view(&quote, 1))) {
                Fault("the value of " + attribute + " does not end");
            }
            element.Attributes.emplace_back(std::move(attribute), std::move(value));
        }
        Content(element, depth);
        return element;
    }

    void Content(TXmlElement& element, int depth) {
        while (Ok()) {
            if (m_at >= m_text.size()) {
                Fault("the element " + element.Name + " does not end");
            } else if (Take("</")) {
                if (Name() != element.Name) {
                    Fault("the element " + element.Name + " ends with another name");
                }
                SkipSpace();
                if (!Take(">")) {
                    Fault("\">\" is missing after </" + element.Name);
                }
                return;
            } else if (Take("<!--")) {
                SkipPast("-->");
            } else if (Take("<![CDATA[")) {
                const std::size_t end = m_text.find("]]>", m_at);
                if (end == std::string_view::npos) {
                    Fault("a CDATA section does not end");
                    return;
                }
                element.Text.append(m_text.substr(m_at, end - m_at));
                m_at = end + 3;
            } else if (Take("<?")) {
                SkipPast("?>");
            } else if (Peek("<")) {
                element.Children.push_back(Element(depth + 1));
            } else {
                element.Text += Characters('<');
            }
        }
    }

    std::string_view m_text;
    std::size_t m_at = 0;
    std::string m_fault;
};

} // namespace

const std::string* TXmlElement::Attribute(std::string_view name) const {
    for (const auto& [key, value] : Attributes) {
        if (key == name) {
            return &value;
        }
    }
    return nullptr;
}

const TXmlElement* TXmlElement::Child(std::string_view name) const {
    for (const TXmlElement& child : Children) {
        if (child.Name == name) {
            return &child;
        }
    }
    return nullptr;
}

std::string TXmlElement::ChildText(std::string_view name) const {
    const TXmlElement* child = Child(name);
    return child != nullptr ? child->Text : std::string();
}

std::optional<TXmlElement> ParseXml(std::string_view text, std::string& error) {
    return TXmlParser(text).Document(error);
}

} // namespace qx
