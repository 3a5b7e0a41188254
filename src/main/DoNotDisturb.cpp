#include "main/DoNotDisturb.h"

#include "service/ServiceSettings.h"

#include <QSettings>

namespace {

const QString settingKey = QStringLiteral("notifications/doNotDisturb");

} // namespace

DoNotDisturb::DoNotDisturb()
    : m_chosen(QSettings(ServiceSettings::settingsFilePath(), QSettings::IniFormat)
                   .value(settingKey, false)
                   .toBool())
{
}

QString DoNotDisturb::choose(bool on)
{
    const bool wasQuiet = quiet();
    m_chosen = on;
    QSettings settings(ServiceSettings::settingsFilePath(), QSettings::IniFormat);
    settings.setValue(settingKey, on);
    settings.sync();
    return endedQuiet(wasQuiet);
}

QString DoNotDisturb::setDesktopQuiet(bool on)
{
    const bool wasQuiet = quiet();
    m_desktop = on;
    return endedQuiet(wasQuiet);
}

void DoNotDisturb::count(PollStep::Kind kind)
{
    ++m_counts[std::size_t(kind)];
}

QString DoNotDisturb::endedQuiet(bool wasQuiet)
{
    if (!wasQuiet || quiet())
        return QString();
    const auto [alerts, liveItems, bulletins] = m_counts;
    m_counts = {};
    return quietSummaryText(alerts, liveItems, bulletins);
}

QString quietSummaryText(int alerts, int liveItems, int bulletins)
{
    if (alerts + liveItems + bulletins == 0)
        return QString();
    QString text = QStringLiteral("免打扰期间收到：");
    const auto line = [&text](const QString &kind, int count) {
        if (count > 0)
            text += QChar(13) + kind + QStringLiteral("：%1 条").arg(count);
    };
    line(QStringLiteral("预警股票"), alerts);
    line(QStringLiteral("实盘资讯"), liveItems);
    line(QStringLiteral("公告"), bulletins);
    return text;
}
