#include "details/FeatureNames.h"

#include <QCoreApplication>
#include <algorithm>
#include <iterator>

namespace {

struct Known {
    const char* tag;
    const char* name;
};

// The registered features a designer meets in Latin and Japanese faces, in tag order. Others
// show their tag alone, which is what a designer looks them up by.
constexpr Known KnownFeatures[] = {
    {"aalt", QT_TRANSLATE_NOOP("FeatureNames", "すべての異体字")},
    {"afrc", QT_TRANSLATE_NOOP("FeatureNames", "分数（縦組み）")},
    {"c2sc", QT_TRANSLATE_NOOP("FeatureNames", "大文字からスモールキャップ")},
    {"calt", QT_TRANSLATE_NOOP("FeatureNames", "前後関係に依存する字形")},
    {"case", QT_TRANSLATE_NOOP("FeatureNames", "大文字用の字形")},
    {"ccmp", QT_TRANSLATE_NOOP("FeatureNames", "字形の合成と分解")},
    {"clig", QT_TRANSLATE_NOOP("FeatureNames", "前後関係に依存する合字")},
    {"cpct", QT_TRANSLATE_NOOP("FeatureNames", "中央揃えの句読点")},
    {"cpsp", QT_TRANSLATE_NOOP("FeatureNames", "大文字の字間")},
    {"curs", QT_TRANSLATE_NOOP("FeatureNames", "筆記体の接続")},
    {"dlig", QT_TRANSLATE_NOOP("FeatureNames", "任意の合字")},
    {"dnom", QT_TRANSLATE_NOOP("FeatureNames", "分母")},
    {"expt", QT_TRANSLATE_NOOP("FeatureNames", "専門用字形")},
    {"falt", QT_TRANSLATE_NOOP("FeatureNames", "行末の異体字")},
    {"fina", QT_TRANSLATE_NOOP("FeatureNames", "語末形")},
    {"frac", QT_TRANSLATE_NOOP("FeatureNames", "分数")},
    {"fwid", QT_TRANSLATE_NOOP("FeatureNames", "全角幅")},
    {"halt", QT_TRANSLATE_NOOP("FeatureNames", "半角の字送り")},
    {"hist", QT_TRANSLATE_NOOP("FeatureNames", "歴史的字形")},
    {"hkna", QT_TRANSLATE_NOOP("FeatureNames", "横書き用かな")},
    {"hlig", QT_TRANSLATE_NOOP("FeatureNames", "歴史的合字")},
    {"hngl", QT_TRANSLATE_NOOP("FeatureNames", "ハングル")},
    {"hojo", QT_TRANSLATE_NOOP("FeatureNames", "JIS X 0212 字形")},
    {"hwid", QT_TRANSLATE_NOOP("FeatureNames", "半角幅")},
    {"init", QT_TRANSLATE_NOOP("FeatureNames", "語頭形")},
    {"isol", QT_TRANSLATE_NOOP("FeatureNames", "独立形")},
    {"ital", QT_TRANSLATE_NOOP("FeatureNames", "イタリック")},
    {"jalt", QT_TRANSLATE_NOOP("FeatureNames", "両端揃え用の異体字")},
    {"jp04", QT_TRANSLATE_NOOP("FeatureNames", "JIS2004 字形")},
    {"jp78", QT_TRANSLATE_NOOP("FeatureNames", "JIS78 字形")},
    {"jp83", QT_TRANSLATE_NOOP("FeatureNames", "JIS83 字形")},
    {"jp90", QT_TRANSLATE_NOOP("FeatureNames", "JIS90 字形")},
    {"kern", QT_TRANSLATE_NOOP("FeatureNames", "カーニング")},
    {"lfbd", QT_TRANSLATE_NOOP("FeatureNames", "左端の字送り")},
    {"liga", QT_TRANSLATE_NOOP("FeatureNames", "標準の合字")},
    {"lnum", QT_TRANSLATE_NOOP("FeatureNames", "ライニング数字")},
    {"locl", QT_TRANSLATE_NOOP("FeatureNames", "地域の字形")},
    {"mark", QT_TRANSLATE_NOOP("FeatureNames", "マークの位置")},
    {"medi", QT_TRANSLATE_NOOP("FeatureNames", "語中形")},
    {"mgrk", QT_TRANSLATE_NOOP("FeatureNames", "数学用ギリシャ文字")},
    {"mkmk", QT_TRANSLATE_NOOP("FeatureNames", "マークとマークの位置")},
    {"nalt", QT_TRANSLATE_NOOP("FeatureNames", "囲み文字などの異体字")},
    {"nlck", QT_TRANSLATE_NOOP("FeatureNames", "常用漢字表の字形")},
    {"numr", QT_TRANSLATE_NOOP("FeatureNames", "分子")},
    {"onum", QT_TRANSLATE_NOOP("FeatureNames", "オールドスタイル数字")},
    {"opbd", QT_TRANSLATE_NOOP("FeatureNames", "視覚的な端揃え")},
    {"ordn", QT_TRANSLATE_NOOP("FeatureNames", "序数")},
    {"ornm", QT_TRANSLATE_NOOP("FeatureNames", "装飾")},
    {"palt", QT_TRANSLATE_NOOP("FeatureNames", "プロポーショナルの字送り")},
    {"pcap", QT_TRANSLATE_NOOP("FeatureNames", "小文字のスモールキャップ")},
    {"pkna", QT_TRANSLATE_NOOP("FeatureNames", "プロポーショナルかな")},
    {"pnum", QT_TRANSLATE_NOOP("FeatureNames", "プロポーショナル数字")},
    {"pwid", QT_TRANSLATE_NOOP("FeatureNames", "プロポーショナル幅")},
    {"qwid", QT_TRANSLATE_NOOP("FeatureNames", "四分角幅")},
    {"rlig", QT_TRANSLATE_NOOP("FeatureNames", "必須の合字")},
    {"rtbd", QT_TRANSLATE_NOOP("FeatureNames", "右端の字送り")},
    {"rtla", QT_TRANSLATE_NOOP("FeatureNames", "右から左の異体字")},
    {"ruby", QT_TRANSLATE_NOOP("FeatureNames", "ルビ用の字形")},
    {"salt", QT_TRANSLATE_NOOP("FeatureNames", "様式の異体字")},
    {"sinf", QT_TRANSLATE_NOOP("FeatureNames", "科学用下付き")},
    {"smcp", QT_TRANSLATE_NOOP("FeatureNames", "スモールキャップ")},
    {"smpl", QT_TRANSLATE_NOOP("FeatureNames", "簡体字")},
    {"subs", QT_TRANSLATE_NOOP("FeatureNames", "下付き")},
    {"sups", QT_TRANSLATE_NOOP("FeatureNames", "上付き")},
    {"swsh", QT_TRANSLATE_NOOP("FeatureNames", "スワッシュ")},
    {"titl", QT_TRANSLATE_NOOP("FeatureNames", "タイトル用字形")},
    {"tnam", QT_TRANSLATE_NOOP("FeatureNames", "伝統的な名前の字形")},
    {"tnum", QT_TRANSLATE_NOOP("FeatureNames", "等幅数字")},
    {"trad", QT_TRANSLATE_NOOP("FeatureNames", "伝統字形")},
    {"twid", QT_TRANSLATE_NOOP("FeatureNames", "三分角幅")},
    {"unic", QT_TRANSLATE_NOOP("FeatureNames", "大小文字の統一")},
    {"valt", QT_TRANSLATE_NOOP("FeatureNames", "縦書きの字送り")},
    {"vert", QT_TRANSLATE_NOOP("FeatureNames", "縦書き")},
    {"vhal", QT_TRANSLATE_NOOP("FeatureNames", "縦書きの半角字送り")},
    {"vkna", QT_TRANSLATE_NOOP("FeatureNames", "縦書き用かな")},
    {"vkrn", QT_TRANSLATE_NOOP("FeatureNames", "縦書きのカーニング")},
    {"vpal", QT_TRANSLATE_NOOP("FeatureNames", "縦書きのプロポーショナル字送り")},
    {"vrt2", QT_TRANSLATE_NOOP("FeatureNames", "縦書きの異体字と回転")},
    {"vrtr", QT_TRANSLATE_NOOP("FeatureNames", "縦書き用の回転")},
    {"zero", QT_TRANSLATE_NOOP("FeatureNames", "スラッシュ付きゼロ")},
};

QString tagText(uint32_t tag) {
    const char text[4]{char(tag >> 24), char(tag >> 16), char(tag >> 8), char(tag)};
    return QString::fromLatin1(text, 4);
}

} // namespace

QString FeatureTagText(uint32_t tag) {
    return tagText(tag);
}

QString FeatureName(const FaceFeature& feature) {
    // The face knows best what its stylistic sets and variants do.
    if (!feature.name.trimmed().isEmpty())
        return feature.name.simplified();
    const QString tag = tagText(feature.tag);
    const auto known = std::find_if(std::begin(KnownFeatures), std::end(KnownFeatures),
                                    [&](const Known& k) { return QLatin1String(k.tag) == tag; });
    if (known != std::end(KnownFeatures))
        return QCoreApplication::translate("FeatureNames", known->name);
    bool number = false;
    const int n = tag.mid(2).toInt(&number);
    if (number && tag.startsWith(QLatin1String("ss")))
        return QCoreApplication::translate("FeatureNames", "スタイルセット %1").arg(n);
    if (number && tag.startsWith(QLatin1String("cv")))
        return QCoreApplication::translate("FeatureNames", "文字の異体字 %1").arg(n);
    return tag;
}
