// SPDX-License-Identifier: GPL-3.0-or-later
#include "sync/gui/CompareMarks.h"

#include <QCoreApplication>
#include <QGridLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>

namespace qx {

namespace {

// The marks as one side reads them.
enum class TSideMark : std::uint8_t {
    Same,
    OnlyHere,
    OnlyThere,
    NewerHere,
    NewerThere,
    Size,
    Kind
};

TSideMark OnSide(TCompareMark mark, TCompareSide side) {
    const bool local = side == TCompareSide::Local;
    switch (mark) {
    case TCompareMark::OnlyLocal:
        return local ? TSideMark::OnlyHere : TSideMark::OnlyThere;
    case TCompareMark::OnlyRemote:
        return local ? TSideMark::OnlyThere : TSideMark::OnlyHere;
    case TCompareMark::NewerLocal:
        return local ? TSideMark::NewerHere : TSideMark::NewerThere;
    case TCompareMark::NewerRemote:
        return local ? TSideMark::NewerThere : TSideMark::NewerHere;
    case TCompareMark::SizeDiffers:
        return TSideMark::Size;
    case TCompareMark::KindDiffers:
        return TSideMark::Kind;
    case TCompareMark::Same:
        break;
    }
    return TSideMark::Same;
}

struct TLook {
    const char* Text;
    QChar Glyph;
    QRgb Tint;  // 0: none
    QRgb Badge; // the badge's own colour
};

TLook LookOf(TSideMark mark) {
    switch (mark) {
    case TSideMark::OnlyHere:
        return {QT_TRANSLATE_NOOP("qx::TCompareLegend", "only here"), QLatin1Char('+'), 0xffd9f2d9,
                0xff2e7d32};
    case TSideMark::OnlyThere:
        return {QT_TRANSLATE_NOOP("qx::TCompareLegend", "only there"), QChar(0x2212), 0xffe6e6e6,
                0xff616161};
    case TSideMark::NewerHere:
        return {QT_TRANSLATE_NOOP("qx::TCompareLegend", "newer here"), QLatin1Char('>'), 0xffd6e6fa,
                0xff1565c0};
    case TSideMark::NewerThere:
        return {QT_TRANSLATE_NOOP("qx::TCompareLegend", "newer there"), QLatin1Char('<'),
                0xfffbe3c8, 0xffe65100};
    case TSideMark::Size:
        return {QT_TRANSLATE_NOOP("qx::TCompareLegend", "size differs"), QChar(0x2260), 0xfffaf3c0,
                0xff8d6e00};
    case TSideMark::Kind:
        return {
            QT_TRANSLATE_NOOP("qx::TCompareLegend", "a file on one side, a folder on the other"),
            QLatin1Char('!'), 0xfff7d4d4, 0xffc62828};
    case TSideMark::Same:
        break;
    }
    return {QT_TRANSLATE_NOOP("qx::TCompareLegend", "same"), QLatin1Char('='), 0, 0xff9e9e9e};
}

// The mark's sign drawn as strokes: at the few pixels of a small icon's badge a letter of the
// font blurs, strokes stay sharp.
void DrawGlyph(QPainter& painter, QChar glyph, const QRectF& box) {
    const qreal midY = box.center().y();
    const qreal apart = box.height() * 0.3; // of the two strokes of '=' from the middle
    const auto horizontal = [&](qreal y) {
        painter.drawLine(QPointF(box.left(), y), QPointF(box.right(), y));
    };
    switch (glyph.unicode()) {
    case '+':
        horizontal(midY);
        painter.drawLine(QPointF(box.center().x(), box.top()),
                         QPointF(box.center().x(), box.bottom()));
        break;
    case 0x2212: // minus
        horizontal(midY);
        break;
    case '>':
        painter.drawPolyline(
            QPolygonF({box.topLeft(), QPointF(box.right(), midY), box.bottomLeft()}));
        break;
    case '<':
        painter.drawPolyline(
            QPolygonF({box.topRight(), QPointF(box.left(), midY), box.bottomRight()}));
        break;
    case 0x2260: // not equal
        horizontal(midY - apart);
        horizontal(midY + apart);
        painter.drawLine(box.bottomLeft() + QPointF(box.width() / 4, 0),
                         box.topRight() - QPointF(box.width() / 4, 0));
        break;
    case '!':
        painter.drawLine(QPointF(box.center().x(), box.top()),
                         QPointF(box.center().x(), box.bottom() - box.height() / 3));
        painter.drawPoint(QPointF(box.center().x(), box.bottom()));
        break;
    default: // '='
        horizontal(midY - apart);
        horizontal(midY + apart);
        break;
    }
}

QPixmap Badge(const TLook& look, int size) {
    QPixmap badge(size, size);
    badge.fill(Qt::transparent);
    QPainter painter(&badge);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::white, 1));
    painter.setBrush(QColor::fromRgba(look.Badge));
    painter.drawEllipse(QRectF(0.5, 0.5, size - 1, size - 1));
    QPen stroke(Qt::white, std::max(1.2, size / 8.0), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    painter.setPen(stroke);
    painter.setBrush(Qt::NoBrush);
    const qreal inset = size * 0.26;
    DrawGlyph(painter, look.Glyph, QRectF(inset, inset, size - 2 * inset, size - 2 * inset));
    return badge;
}

} // namespace

TCompareMarks::TCompareMarks(const std::vector<TComparePair>& pairs, TCompareSide side) {
    m_marks.reserve(pairs.size());
    for (const TComparePair& pair : pairs) {
        // A name only the other side has is no row here.
        if ((side == TCompareSide::Local ? pair.Local : pair.Remote).has_value()) {
            m_marks.emplace(pair.Name, pair.Mark);
        }
    }
}

const TCompareMark* TCompareMarks::Find(const std::string& name) const {
    const auto found = m_marks.find(name);
    return found == m_marks.end() ? nullptr : &found->second;
}

QString CompareMarkText(TCompareMark mark, TCompareSide side) {
    return QCoreApplication::translate("qx::TCompareLegend", LookOf(OnSide(mark, side)).Text);
}

QColor CompareMarkColour(TCompareMark mark, TCompareSide side) {
    const QRgb tint = LookOf(OnSide(mark, side)).Tint;
    return tint == 0 ? QColor() : QColor::fromRgba(tint);
}

QIcon MarkedIcon(const QIcon& icon, TCompareMark mark, TCompareSide side) {
    const TLook look = LookOf(OnSide(mark, side));
    QIcon marked;
    for (const int size : {16, 32, 48}) {
        QPixmap pixmap = icon.pixmap(size, size);
        if (pixmap.isNull()) {
            pixmap = QPixmap(size, size);
            pixmap.fill(Qt::transparent);
        }
        QPainter painter(&pixmap);
        const int badge = std::max(10, size * 7 / 16);
        painter.drawPixmap(size - badge, size - badge, Badge(look, badge));
        painter.end();
        marked.addPixmap(pixmap);
    }
    return marked;
}

const TCompareMark* TCompareRowLook::Find(const std::string& name) const {
    return m_marks ? m_marks->Find(name) : nullptr;
}

QIcon TCompareRowLook::Icon(const std::string& name, const std::string& iconKind,
                            const std::function<QIcon()>& icon) const {
    const TCompareMark* mark = Find(name);
    if (mark == nullptr) {
        return icon();
    }
    auto found = m_icons.find({iconKind, *mark});
    if (found == m_icons.end()) {
        found =
            m_icons.emplace(std::pair{iconKind, *mark}, MarkedIcon(icon(), *mark, m_side)).first;
    }
    return found->second;
}

QVariant TCompareRowLook::Background(const std::string& name) const {
    const TCompareMark* mark = Find(name);
    const QColor tint = mark != nullptr ? CompareMarkColour(*mark, m_side) : QColor();
    return tint.isValid() ? QVariant(tint) : QVariant();
}

QVariant TCompareRowLook::Foreground(const std::string& name) const {
    return Background(name).isValid() ? QVariant(QColor(Qt::black)) : QVariant();
}

QVariant TCompareRowLook::ToolTip(const std::string& name) const {
    const TCompareMark* mark = Find(name);
    return mark != nullptr ? QVariant(CompareMarkText(*mark, m_side)) : QVariant();
}

bool ShownWithOnlyDifferences(const TCompareMarks& marks, const std::string& name) {
    const TCompareMark* mark = marks.Find(name);
    return mark != nullptr && TCompareMarks::Differs(*mark);
}

TCompareLegend::TCompareLegend(TCompareSide side, QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("CompareLegend"));
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(4, 2, 4, 2);
    grid->setHorizontalSpacing(6);
    const TCompareMark marks[] = {
        side == TCompareSide::Local ? TCompareMark::OnlyLocal : TCompareMark::OnlyRemote,
        side == TCompareSide::Local ? TCompareMark::OnlyRemote : TCompareMark::OnlyLocal,
        side == TCompareSide::Local ? TCompareMark::NewerLocal : TCompareMark::NewerRemote,
        side == TCompareSide::Local ? TCompareMark::NewerRemote : TCompareMark::NewerLocal,
        TCompareMark::SizeDiffers,
        TCompareMark::KindDiffers,
        TCompareMark::Same};
    int column = 0;
    for (const TCompareMark mark : marks) {
        const TLook look = LookOf(OnSide(mark, side));
        auto* badge = new QLabel(this);
        badge->setPixmap(Badge(look, fontMetrics().height()));
        auto* text = new QLabel(CompareMarkText(mark, side), this);
        const QColor tint = CompareMarkColour(mark, side);
        if (tint.isValid()) {
            text->setAutoFillBackground(true);
            QPalette palette = text->palette();
            palette.setColor(QPalette::Window, tint);
            palette.setColor(QPalette::WindowText, Qt::black);
            text->setPalette(palette);
        }
        grid->addWidget(badge, 0, column++);
        grid->addWidget(text, 0, column++);
    }
    grid->setColumnStretch(column, 1);
    // A narrow window cuts the legend off on the right instead of growing to its width.
    grid->setSizeConstraint(QLayout::SetNoConstraint);
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
}

} // namespace qx
