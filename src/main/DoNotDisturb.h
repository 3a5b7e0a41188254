#pragma once

#include "main/PollTick.h"

#include <QString>

#include <array>

// Do-not-disturb, for traders who share their screen: while it is on, news neither pops up nor
// sounds, while the windows keep refreshing and the poll and the login watch run as usual. What
// arrives meanwhile is counted, and the end of the quiet tells the person how much arrived.
//
// It is on while the person turned it on (kept in tipdesk.conf, so it survives a restart) or while
// the desktop itself is in do-not-disturb.
class DoNotDisturb
{
public:
    DoNotDisturb(); // reads the person's choice

    bool quiet() const { return m_chosen || m_desktop; }
    bool chosen() const { return m_chosen; }
    bool followsDesktop() const { return m_desktop; }

    // Each change answers what to tell the person when it ended the quiet: the summary of what
    // arrived meanwhile, or empty (still quiet, or nothing arrived).
    QString choose(bool on); // the person's choice, stored at once
    QString setDesktopQuiet(bool on);

    // Something that would have popped up arrived while quiet.
    void count(PollStep::Kind kind);

private:
    QString endedQuiet(bool wasQuiet);

    bool m_chosen = false;
    bool m_desktop = false;
    std::array<int, 3> m_counts {}; // alerts, live items, bulletins
};

// The summary's text: one line per kind that arrived, in the popups' line breaks.
QString quietSummaryText(int alerts, int liveItems, int bulletins);
