#include "DemoContent.h"

#include "base/AppFolder.h"
#include "skin/qt/AreaPicture.h"
#include "skin/qt/CSSTab.h"
#include "skin/qt/SSTab.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPainter>
#include <QSettings>
#include <QStringList>
#include <QVBoxLayout>
#include <QWidget>

// The catalogue's two tab rows: eight areas with pictures, and under the game area its categories.
// The second row has nine tabs; each area shows its first N and hides the rest, as the catalogue
// window does.

namespace {

struct Area {
    QString caption;
    QStringList categories; // empty: the area does not use the second row
};

const Area Areas[] = {
    {"首页", {}},
    {"游戏", {"全部", "小游戏", "网页游戏", "游戏工具"}},
    {"视频", {"全部", "直播", "综艺", "电视剧", "电影", "动画片", "MV", "其它视频", "纪录片"}},
    {"音乐", {"全部"}},
    {"生活", {"全部", "订票", "出行", "美食", "健康"}},
    {"工具", {"全部", "实用", "娱乐", "媒体", "安全", "其它工具"}},
    {"阅读", {"全部", "小说", "电子杂志", "漫画", "文学", "其它阅读"}},
    {"搜索", {}},
};
constexpr int SubTabCount = 9;

// The skin's tab colours from its Skin.ini (the settings file gets them from there on a skin change).
void applySkinColors(skin::CSSTab& strip, const QString& skinName) {
    const auto ini = base::applicationFolder() / "Skin" / skinName.toStdString() / "Skin.ini";
    QSettings settings(QString::fromStdString(ini.string()), QSettings::IniFormat);
    strip.setColors(settings.value("Color/TabColor", skin::CSSTab::DefaultTabColor).toInt(),
                    settings.value("Color/TabBackColor", skin::CSSTab::DefaultTabBackColor).toInt());
}

QLabel* pageText(QWidget* parent, const QString& text) {
    auto* label = new QLabel(text, parent);
    QFont font(QStringLiteral("宋体"));
    font.setPixelSize(14);
    label->setFont(font);
    label->setStyleSheet(QStringLiteral("color: #303840;"));
    return label;
}

} // namespace

void addDemoContent(QWidget* client) {
    const QStringList args = QCoreApplication::arguments();
    const QString skinName = args.size() > 1 ? args.at(1) : QStringLiteral("Default");
    // Layouts keep both rows at the content area's size; the second row sits under the first.
    auto* clientLayout = new QVBoxLayout(client);
    clientLayout->setContentsMargins(4, 8, 4, 8);
    auto* areas = new skin::SSTab(client);
    clientLayout->addWidget(areas);
    areas->setTabHeightTwips(75 * 15);
    areas->setTabCount(8);
    for (int i = 0; i < 8; ++i) {
        areas->setTabCaption(i, Areas[i].caption);
        areas->setTabPicture(i, skin::AreaPicture(i, Areas[i].caption));
    }

    auto* areaLayout = new QVBoxLayout(areas);
    areaLayout->setContentsMargins(2, 75 + 12, 2, 4);
    auto* categories = new skin::SSTab(areas);
    areaLayout->addWidget(categories, 1);
    categories->setTabHeightTwips(30 * 15);
    categories->setTabCount(SubTabCount);
    auto* categoryText = pageText(categories, {});
    categoryText->setGeometry(24, 56, 600, 24);
    auto* homeText = pageText(areas, {});
    homeText->setContentsMargins(22, 12, 0, 0);
    areaLayout->addWidget(homeText, 1, Qt::AlignTop);

    auto* areaStrip = new skin::CSSTab(client);
    applySkinColors(*areaStrip, skinName);
    areaStrip->setTabWidth(80);
    areaStrip->setTabHeight(75);
    areaStrip->TabSkin(areas, skinName);

    auto* categoryStrip = new skin::CSSTab(client);
    applySkinColors(*categoryStrip, skinName);
    categoryStrip->setTabWidth(60);
    categoryStrip->setTabHeight(30);
    categoryStrip->TabSkin(categories, skinName + QStringLiteral("\\Tabs"));

    auto showCategory = [=] {
        categoryText->setText(QStringLiteral("%1 · %2").arg(
            areas->tabCaption(areas->currentTab()), categories->tabCaption(categories->currentTab())));
    };
    auto showArea = [=] {
        const Area& area = Areas[areas->currentTab()];
        const bool usesCategories = !area.categories.isEmpty();
        categories->setVisible(usesCategories);
        homeText->setVisible(!usesCategories);
        homeText->setText(QStringLiteral("%1：精选应用").arg(area.caption));
        if (!usesCategories) return;
        categories->setCurrentTab(0);
        for (int i = 0; i < SubTabCount; ++i) {
            categories->setTabVisible(i, i < area.categories.size());
            if (i < area.categories.size()) categories->setTabCaption(i, area.categories.at(i));
        }
        showCategory();
    };
    QObject::connect(areas, &skin::SSTab::clicked, areas, showArea);
    QObject::connect(categories, &skin::SSTab::clicked, categories, showCategory);
    areas->setCurrentTab(1);
}
