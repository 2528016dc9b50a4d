#include "PaletteMenus.h"

#include "ResourceArt.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QProxyStyle>
#include <QStyleOptionMenuItem>

#include <algorithm>

bool KindForCommand(int nCommandId, int* pnType, int* pnSubType) {
    struct SBlock {
        int nFirst, nLast, nType;
    };
    static constexpr SBlock kBlocks[] = {
        {130, 134, 1}, {135, 137, 2}, {138, 153, 3}, {154, 166, 4},  {167, 175, 5}, {176, 183, 6},
        {184, 189, 7}, {190, 194, 8}, {195, 198, 9}, {199, 202, 10}, {203, 203, 11}};
    for (const SBlock& b : kBlocks)
        if (nCommandId >= b.nFirst && nCommandId <= b.nLast) {
            *pnType = b.nType;
            *pnSubType = nCommandId - b.nFirst + 1;
            return true;
        }
    if (nCommandId == 204) {
        *pnType = 12;
        *pnSubType = 0;
        return true;
    }
    return false;
}

namespace {

// Draws a menu item that carries a picture as the picture alone, the way the palette shows
// kinds; other items keep the base style.
class CPictureItemStyle : public QProxyStyle {
public:
    static constexpr int kMargin = 1;

    QSize sizeFromContents(ContentsType type, const QStyleOption* pOption, const QSize& size,
                           const QWidget* pWidget) const override {
        if (type == CT_MenuItem)
            if (auto* pItem = qstyleoption_cast<const QStyleOptionMenuItem*>(pOption))
                if (pItem->menuItemType == QStyleOptionMenuItem::Normal && !pItem->icon.isNull()) {
                    const QSize pic = PictureSize(pItem->icon);
                    return QSize(pic.width() + 2 * kMargin, pic.height() + 2 * kMargin);
                }
        return QProxyStyle::sizeFromContents(type, pOption, size, pWidget);
    }

    void drawControl(ControlElement element, const QStyleOption* pOption, QPainter* p,
                     const QWidget* pWidget) const override {
        if (element == CE_MenuItem)
            if (auto* pItem = qstyleoption_cast<const QStyleOptionMenuItem*>(pOption))
                if (pItem->menuItemType == QStyleOptionMenuItem::Normal && !pItem->icon.isNull()) {
                    const QRect rc = pItem->rect;
                    p->fillRect(rc, QColor(192, 192, 192));
                    const QPixmap pix = pItem->icon.pixmap(PictureSize(pItem->icon));
                    p->drawPixmap(rc.left() + kMargin, rc.top() + kMargin, pix);
                    if (pItem->state & State_Selected) {
                        // Selection inverts the picture, as a highlighted bitmap item does.
                        p->save();
                        p->setCompositionMode(QPainter::RasterOp_SourceXorDestination);
                        p->fillRect(rc, Qt::white);
                        p->restore();
                    }
                    return;
                }
        QProxyStyle::drawControl(element, pOption, p, pWidget);
    }

    int pixelMetric(PixelMetric metric, const QStyleOption* pOption,
                    const QWidget* pWidget) const override {
        if (metric == PM_MenuPanelWidth || metric == PM_MenuHMargin || metric == PM_MenuVMargin)
            return 1;
        return QProxyStyle::pixelMetric(metric, pOption, pWidget);
    }

private:
    static QSize PictureSize(const QIcon& icon) {
        const QList<QSize> sizes = icon.availableSizes();
        return sizes.isEmpty() ? QSize(CResourceArt::kItemHeight, CResourceArt::kItemHeight)
                               : sizes.first();
    }
};

} // namespace

const std::array<CPaletteMenus::SGroup, CPaletteMenus::kGroupCount>& CPaletteMenus::Groups() {
    static const std::array<SGroup, kGroupCount> kGroups = {{
        {"&Amplifier", 109, {203}, {}, {203}},
        {"App&liances",
         156,
         {143, 144, 145, 146, 149, 150, 151, 152, 153},
         {4},
         {143, 144, 145, 146, 149, 150, 151, 152, 153}},
        {"&Capacitors", 203, {184, 185, 186, 187, 188, 189}, {}, {184, 185, 186, 187, 188, 189}},
        {"Conn&ections",
         152,
         {154, 155, 156, 157, 162, 163, 164, 165, 166},
         {4, 6, 10},
         {154, 155, 156, 157, 159, 160, 162, 163, 164, 165, 166}},
        {"&Diodes", 125, {190, 191, 192, 193, 194}, {}, {190, 191, 192, 193, 194}},
        {"&Inductors", 124, {195, 196, 197, 198}, {}, {195, 196, 197, 198}},
        {"Instru&ments", 138, {130, 131, 132, 133, 134}, {4}, {130, 131, 132, 133, 134}},
        {"&Power Supply", 151, {135, 136, 137}, {2}, {135, 136, 137}},
        {"&Resistors",
         144,
         {138, 139, 140, 141, 142, 147, 148},
         {5},
         {138, 139, 140, 141, 142, 147, 148}},
        {"&Signal Source", 152, {199, 200, 201, 202}, {3}, {199, 200, 201, 202}},
        {"Te&xt", 80, {204}, {}, {204}},
        {"&Transformers",
         212,
         {168, 169, 171, 172, 174, 175},
         {},
         {167, 168, 169, 170, 171, 172, 173, 174, 175}},
        {"Tra&nsistors",
         182,
         {176, 177, 178, 179, 180, 181, 182, 183},
         {},
         {176, 177, 178, 179, 180, 181, 182, 183}},
    }};
    return kGroups;
}

CPaletteMenus& CPaletteMenus::Instance() {
    static CPaletteMenus menus;
    return menus;
}

int CPaletteMenus::PictureWidth(int nCommandId) {
    for (const SGroup& g : Groups())
        if (std::find(g.items.begin(), g.items.end(), nCommandId) != g.items.end())
            return g.nPictureWidth;
    return 0;
}

void CPaletteMenus::BuildComponentsMenu(QMenuBar* pMenuBar, QObject* pCommandTarget) {
    if (!pMenuBar || pMenuBar->actions().size() > 4)
        return;
    if (!m_pComponents) {
        m_pStyle = new CPictureItemStyle;
        m_pComponents = new QMenu(QStringLiteral("&Components"));
        for (const SGroup& g : Groups()) {
            auto* pSub = new QMenu(QString::fromLatin1(g.szTitle), m_pComponents);
            pSub->setStyle(m_pStyle);
            for (int nId : g.items) {
                QAction* pAction = pSub->addAction(QString());
                pAction->setIcon(
                    QIcon(QPixmap::fromImage(CResourceArt::PalettePicture(nId, g.nPictureWidth))));
                pAction->setIconText(CResourceArt::PaletteName(nId));
                pAction->setToolTip(CResourceArt::PaletteName(nId));
                pAction->setData(nId);
                pAction->setObjectName(QStringLiteral("cmd%1").arg(nId));
                if (pCommandTarget)
                    QObject::connect(
                        pAction, &QAction::triggered, pCommandTarget, [pCommandTarget, nId] {
                            QMetaObject::invokeMethod(pCommandTarget, "OnCommand", Q_ARG(int, nId));
                        });
            }
            for (int nPos : g.separators) {
                const QList<QAction*> actions = pSub->actions();
                QAction* pSep = new QAction(pSub);
                pSep->setSeparator(true);
                pSub->insertAction(nPos < actions.size() ? actions[nPos] : nullptr, pSep);
            }
            m_cursorTable.insert(m_cursorTable.end(), g.cursors.begin(), g.cursors.end());
            m_pComponents->addMenu(pSub);
            m_submenus.push_back(pSub);
        }
    }
    const QList<QAction*> bar = pMenuBar->actions();
    pMenuBar->insertMenu(bar.size() > 2 ? bar[2] : nullptr, m_pComponents);
    pMenuBar->update();
}

void CPaletteMenus::EnableGroups(bool bEnable) {
    for (QMenu* pSub : m_submenus)
        pSub->menuAction()->setEnabled(bEnable);
}

void CPaletteMenus::Destroy() {
    delete m_pComponents; // deletes the submenus it parents
    m_pComponents = nullptr;
    m_submenus.clear();
    m_cursorTable.clear();
    delete m_pStyle;
    m_pStyle = nullptr;
}

int CPaletteMenus::CursorResource(int nCommandId) const {
    const auto it = std::find(m_cursorTable.begin(), m_cursorTable.end(), nCommandId);
    if (it == m_cursorTable.end())
        return -1;
    return kFirstCursor + int(it - m_cursorTable.begin());
}
