#include "startup/CommandLine.h"

#ifndef TIPDESK_VERSION
#define TIPDESK_VERSION "0"
#endif

QString programVersion()
{
    return QStringLiteral(TIPDESK_VERSION);
}

std::optional<CommandLineAnswer> answerCommandLine(const QStringList &arguments)
{
    for (const QString &argument : arguments.mid(1)) {
        if (argument == u"--version" || argument == u"-v")
            return CommandLineAnswer {QStringLiteral("tipdesk ") + programVersion() + u'\n'};
        if (argument == u"--help" || argument == u"-h") {
            return CommandLineAnswer {QStringLiteral(
                "用法：tipdesk [选项]\n"
                "股票预警系统的桌面客户端：登录后常驻通知区域，提醒运营方发布的预警股票、实盘资讯和"
                "公告。\n"
                "\n"
                "选项：\n"
                "  -h, --help         显示本帮助并退出\n"
                "  -v, --version      显示版本并退出\n"
                "  -platform 名称     使用指定的 Qt 平台插件（xcb、wayland 等）\n"
                "\n"
                "服务器地址依次取自：环境变量 TIPDESK_SERVER、~/.config/TipDesk/tipdesk.conf、\n"
                "/etc/xdg/TipDesk/tipdesk.conf、程序内置的默认地址。详见 man tipdesk。\n")};
        }
    }
    return std::nullopt;
}
