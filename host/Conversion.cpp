#include "host/Conversion.h"
#include "common/Sjis.h"
#include <cstring>
#include <vector>

namespace {

// One half-width form and its full-width partner. The half-width form is one byte, or two for
// a katakana with its voiced or semi-voiced mark.
struct WidthPair {
    std::string half;
    std::string full;
    UINT target;
};

// Pairs up two parallel strings: every `halfStep` bytes of `half` with one double-byte
// character of `full`.
void AddPairs(std::vector<WidthPair>& table, const char* half, size_t halfStep, const char* full, UINT target)
{
    size_t n = strlen(half) / halfStep;
    for (size_t i = 0; i < n; ++i)
        table.push_back({std::string(half + i * halfStep, halfStep), std::string(full + i * 2, 2), target});
}

// Earlier rows win: the first full-width partner of a half-width form is the one written by a
// conversion to full width; the later rows only widen what a conversion to half width accepts.
const std::vector<WidthPair>& WidthTable()
{
    static const std::vector<WidthPair> table = [] {
        std::vector<WidthPair> t;
        AddPairs(t, "ｳﾞｶﾞｷﾞｸﾞｹﾞｺﾞｻﾞｼﾞｽﾞｾﾞｿﾞﾀﾞﾁﾞﾂﾞﾃﾞﾄﾞﾊﾞﾋﾞﾌﾞﾍﾞﾎﾞ", 2,
                 "ヴガギグゲゴザジズゼゾダヂヅデドバビブベボ", CONV_KATAKANA);
        AddPairs(t, "ﾊﾟﾋﾟﾌﾟﾍﾟﾎﾟ", 2, "パピプペポ", CONV_KATAKANA);
        AddPairs(t, "ｦｧｨｩｪｫｬｭｮｯｱｲｳｴｵｶｷｸｹｺｻｼｽｾｿﾀﾁﾂﾃﾄﾅﾆﾇﾈﾉﾊﾋﾌﾍﾎﾏﾐﾑﾒﾓﾔﾕﾖﾗﾘﾙﾚﾛﾜﾝﾞﾟ", 1,
                 "ヲァィゥェォャュョッアイウエオカキクケコサシスセソタチツテトナニヌネノハヒフヘホマミムメモヤユヨラリルレロワン゛゜",
                 CONV_KATAKANA);
        AddPairs(t, "｡｢｣､･ｰ", 1, "。「」、・ー", CONV_KANA_SYMBOL);
        AddPairs(t, "0123456789", 1, "０１２３４５６７８９", CONV_ALNUM);
        AddPairs(t, "ABCDEFGHIJKLMNOPQRSTUVWXYZ", 1, "ＡＢＣＤＥＦＧＨＩＪＫＬＭＮＯＰＱＲＳＴＵＶＷＸＹＺ", CONV_ALNUM);
        AddPairs(t, "abcdefghijklmnopqrstuvwxyz", 1, "ａｂｃｄｅｆｇｈｉｊｋｌｍｎｏｐｑｒｓｔｕｖｗｘｙｚ", CONV_ALNUM);
        AddPairs(t, "!\"#$%&'()*+,-./:;<=>?@[\\]^_`{|}~", 1,
                 "！”＃＄％＆’（）＊＋，－．／：；＜＝＞？＠［＼］＾＿｀｛｜｝～", CONV_ALNUM_SYMBOL);
        AddPairs(t, "\"'\"'\\", 1, "＂＇“‘￥", CONV_ALNUM_SYMBOL);
        AddPairs(t, " ", 1, "　", CONV_SPACE);
        return t;
    }();
    return table;
}

std::string ToFullWidth(const std::string& text, UINT targets)
{
    const std::vector<WidthPair>& table = WidthTable();
    std::string out;
    size_t i = 0;
    while (i < text.size()) {
        size_t length = SjisCharLength(text.c_str() + i);
        const WidthPair* best = nullptr;
        if (length == 1) {
            for (const WidthPair& pair : table) {
                if ((pair.target & targets) == 0 || text.compare(i, pair.half.size(), pair.half) != 0) continue;
                if (best == nullptr || pair.half.size() > best->half.size()) best = &pair;
            }
        }
        if (best != nullptr) {
            out += best->full;
            i += best->half.size();
        } else {
            out.append(text, i, length);
            i += length;
        }
    }
    return out;
}

std::string ToHalfWidth(const std::string& text, UINT targets)
{
    const std::vector<WidthPair>& table = WidthTable();
    std::string out;
    size_t i = 0;
    while (i < text.size()) {
        size_t length = SjisCharLength(text.c_str() + i);
        const WidthPair* found = nullptr;
        if (length == 2) {
            for (const WidthPair& pair : table) {
                if ((pair.target & targets) != 0 && text.compare(i, 2, pair.full) == 0) {
                    found = &pair;
                    break;
                }
            }
        }
        if (found != nullptr) out += found->half;
        else out.append(text, i, length);
        i += length;
    }
    return out;
}

std::string ChangeCase(const std::string& text, bool upper)
{
    static const char fullUpper[] = "ＡＢＣＤＥＦＧＨＩＪＫＬＭＮＯＰＱＲＳＴＵＶＷＸＹＺ";
    static const char fullLower[] = "ａｂｃｄｅｆｇｈｉｊｋｌｍｎｏｐｑｒｓｔｕｖｗｘｙｚ";
    const char* from = upper ? fullLower : fullUpper;
    const char* to = upper ? fullUpper : fullLower;
    std::string out;
    size_t i = 0;
    while (i < text.size()) {
        size_t length = SjisCharLength(text.c_str() + i);
        if (length == 1) {
            char c = text[i];
            if (upper && c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
            else if (!upper && c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
            out += c;
        } else {
            size_t k = 0;
            while (k < 26 && text.compare(i, 2, from + k * 2, 2) != 0) ++k;
            if (k < 26) out.append(to + k * 2, 2);
            else out.append(text, i, 2);
        }
        i += length;
    }
    return out;
}

} // namespace

std::string ConvertText(const std::string& text, UINT flags)
{
    switch (flags & CONV_OPERATION_MASK) {
    case CONV_LOWER: return ChangeCase(text, false);
    case CONV_UPPER: return ChangeCase(text, true);
    case CONV_FULL_WIDTH: return ToFullWidth(text, flags);
    default: return ToHalfWidth(text, flags);
    }
}
