// c_MyApp: the progress record. Settings, badge flags and the result lists of every group are kept as one text
// of integer fields each followed by "|", every section guarded by a checksum of its own, so a damaged section
// is reset alone while the rest of the player's progress loads. Standard output gets the record's load messages;
// what was damaged and reset is also told to the player on standard error.
#include <algorithm>
#include <charconv>
#include <cstdint>
#include <string>

#include "game/myapp.h"
#include "game/search.h"
#include "host/errors.h"
#include "host/files.h"    // StateFileForPlayer
#include "host/notices.h"

namespace {

constexpr int kSettings = 25;
constexpr int kBadgeWords = 8;
constexpr int kRowsWritten = 517;
constexpr int kRowsRead = 512;
constexpr int kLastListBase = 5120;
// The groups a player can reach; rows past them hold nothing a player sees.
constexpr int kGroups = 56;

// Checksums are 32-bit sums that wrap around.
int32_t Wrap(uint32_t sum) { return static_cast<int32_t>(sum); }

uint32_t SettingsSum(const Array<int>& settings) {
    uint32_t sum = 0;
    for (int i = 0; i < kSettings; ++i) sum += static_cast<uint32_t>(i) * static_cast<uint32_t>(settings[i]);
    return sum;
}

// Best and last entries of row r: A at 10r + j, B at 5120 + 10r + j.
uint32_t RowSum(const int* a, const int* b, int row) {
    uint32_t sum = 0;
    for (int j = 0; j < 10; ++j) {
        sum += static_cast<uint32_t>(a[j]) * static_cast<uint32_t>(j + 4);
        sum += static_cast<uint32_t>(b[j]) * static_cast<uint32_t>(row + j + 3);
    }
    return sum;
}

void AppendField(std::string& text, int32_t value) {
    char digits[16];
    auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    text.append(digits, end);
    text.push_back('|');
}

}  // namespace

String c_MyApp::p_RecordText() {
    std::string text;
    text.reserve(64 * 1024);
    for (int i = 0; i < kSettings; ++i) AppendField(text, m_settings[i]);
    AppendField(text, Wrap(SettingsSum(m_settings)));

    uint32_t badgeSum = 0;
    for (int k = 0; k < kBadgeWords; ++k) {
        uint32_t word = 0;
        for (int j = 0; j < 32; ++j) {
            if (m_badges[32 * k + j]) word |= 1u << j;
        }
        badgeSum += word;
        AppendField(text, Wrap(word));
    }
    AppendField(text, Wrap(badgeSum));

    // NOTE: rows 512 to 516 belong to no group and are never read back; the formula makes them repeat the
    // last-results lists of groups 0 to 4. Stored records hold exactly this, so it stays.
    for (int r = 0; r < kRowsWritten; ++r) {
        const int* a = &m_scores[10 * r];
        const int* b = &m_scores[kLastListBase + 10 * r];
        for (int j = 0; j < 10; ++j) {
            AppendField(text, a[j]);
            AppendField(text, b[j]);
        }
        AppendField(text, Wrap(RowSum(a, b, r)));
    }
    return String(text.data(), static_cast<int>(text.size()));
}

int c_MyApp::p_Save() {
    const String text = p_RecordText();
    if (kp_Search_DebugMode == 1) kpPrint(text);
    kp_app_SaveState(text);
    return 0;
}

int c_MyApp::p_Load() {
    const String text = kp_app_LoadState();
    const Array<String> pieces = text.Split(String("|"));
    if (kp_Search_DebugMode == 1) kpPrint(text);
    const int count = pieces.Length();
    Array<int> fields(count);
    for (int i = 0; i < count; ++i) fields[i] = pieces[i].ToInt();

    int p = 0;
    if (count >= kSettings) {
        for (int i = 0; i < kSettings; ++i) m_settings[i] = fields[i];
        // NOTE: a text of exactly 25 fields has no checksum to compare with: its settings count as invalid.
        if (count > kSettings && Wrap(SettingsSum(m_settings)) == fields[kSettings]) {
            kpPrint(String("Settings Loaded"));
        } else {
            kpPrint(String("Settings Checksum Invalid"));
            kpTellPlayer("record settings", "the settings saved in " + StateFileForPlayer() +
                                                " were damaged and are back to their defaults; your results are kept.");
            m_settings.Fill(0);
            m_settings[5] = 1;
        }
        p = kSettings + 1;
    }

    if (m_settings[10] < 64) m_settings[10] = 64;
    if (m_settings[11] < 64) m_settings[11] = 64;
    if (m_settings[12] < 8) m_settings[12] = 10;
    if (m_settings[14] < 1) m_settings[14] = 64;
    m_settings[14] = 1;
    kp_Search_overscan = 0.0f;

    if (p + kBadgeWords < count) {
        uint32_t sum = 0;
        for (int k = 0; k < kBadgeWords; ++k) {
            const uint32_t word = static_cast<uint32_t>(fields[p + k]);
            sum += word;
            for (int j = 0; j < 32; ++j) m_badges[32 * k + j] = (word >> j) & 1u;
        }
        if (Wrap(sum) == fields[p + kBadgeWords]) {
            kpPrint(String("Badges Loaded"));
        } else {
            kpPrint(String("Badge Checksum Invalid"));
            kpTellPlayer("record badges", "the badges saved in " + StateFileForPlayer() +
                                              " were damaged and have been cleared; your settings and results are kept.");
            m_badges.Fill(false);
        }
        p += kBadgeWords + 1;
    }

    int damagedGroups = 0;
    int rowsRead = 0;
    for (; rowsRead < kRowsRead && p + 20 < count; ++rowsRead) {
        const int r = rowsRead;
        int* a = &m_scores[10 * r];
        int* b = &m_scores[kLastListBase + 10 * r];
        for (int j = 0; j < 10; ++j) {
            a[j] = fields[p + 2 * j];
            b[j] = fields[p + 2 * j + 1];
        }
        if (Wrap(RowSum(a, b, r)) != fields[p + 20]) {
            for (int j = 0; j < 10; ++j) a[j] = b[j] = 0;
            if (r < kGroups) ++damagedGroups;
        }
        p += 21;
    }

    kpPrint(String("Highscores Loaded"));
    if (damagedGroups > 0) {
        kpTellPlayer("record results", "the results of " + std::to_string(damagedGroups) +
                                           (damagedGroups == 1 ? " group" : " groups") + " saved in " +
                                           StateFileForPlayer() +
                                           " were damaged and have been cleared; the rest of your progress is kept.");
    }
    // A text without every row that is read was cut short (or never was a record).
    if (!text.Empty() && rowsRead < kRowsRead) {
        kpTellPlayer("record short", "the progress saved in " + StateFileForPlayer() +
                                         " ends early (the file was cut short); what it holds is loaded, and the "
                                         "rest starts afresh.");
    }
    // NOTE: the menu's selection is kept to the groups it offers, and the wheel turns to the selection kept; a
    // stored group from nowhere would leave the wheel empty.
    m_menuSel = std::clamp(m_settings[3], 0, 55);
    m_wheelTarget = -(static_cast<float>(m_menuSel) * 32.0f);
    return 0;
}
