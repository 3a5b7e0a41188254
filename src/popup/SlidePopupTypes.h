#pragma once

#include <QtGlobal>

#include <initializer_list>

// The small types of the popup component, under the names its stored design uses.

enum TSlidePopupOption : quint8 {
    spAutoOpenURL,
    spSystemFont,
    spCascadePopups,
    spAllowScroll,
    spAllowHyperlink,
};

// A set of TSlidePopupOption in one byte: bit n stands for the n-th member.
class TSlidePopupOptions
{
public:
    constexpr TSlidePopupOptions() = default;
    constexpr TSlidePopupOptions(std::initializer_list<TSlidePopupOption> options)
    {
        for (const TSlidePopupOption option : options)
            m_bits = quint8(m_bits | bit(option));
    }

    constexpr bool contains(TSlidePopupOption option) const { return m_bits & bit(option); }
    constexpr void include(TSlidePopupOption option) { m_bits = quint8(m_bits | bit(option)); }
    constexpr void exclude(TSlidePopupOption option) { m_bits = quint8(m_bits & ~bit(option)); }
    constexpr quint8 bits() const { return m_bits; }
    constexpr bool operator==(const TSlidePopupOptions &) const = default;

private:
    static constexpr quint8 bit(TSlidePopupOption option) { return quint8(1u << option); }
    quint8 m_bits = 0;
};

// How BackgroundImage covers the window.
enum TSlideImageDrawMethod { dmActualSize, dmTile, dmFit };

// Direction of the background gradient: mbVertical changes colour from top to bottom,
// mbHorizontal from left to right.
enum TOrientation { mbHorizontal, mbVertical };

// Alignment of the text lines.
enum TAlignment { taLeftJustify, taRightJustify, taCenter };

// Handed to each window unchanged; placement always uses the primary screen's work area.
enum TDefaultMonitor { dmDesktop, dmPrimary, dmMainForm, dmActiveForm };

// Pixels per 25 ms animation step.
using TScrollSpeed = int;
inline constexpr TScrollSpeed minimumScrollSpeed = 1;
inline constexpr TScrollSpeed maximumScrollSpeed = 50;
