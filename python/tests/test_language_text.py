"""LanguageString and the tagged and packaged strings of orvada.raw."""

import orvada.raw as raw


def test_language_strings():
    text = "Ἀγάπη \U0001D11E \udc80"  # polytonic Greek, a character above U+FFFF, a lone surrogate
    greek = raw.LanguageString(text, 1032)
    assert str(greek) == text and greek.language == 1032
    assert len(greek) == len(text) + 1  # the character above U+FFFF takes two 16-bit characters
    mixed = raw.LanguageString("a") + raw.LanguageString("β", 1032)
    assert mixed.languages == [1033, 1032]
    assert raw.LanguageString(b"\xe1\xe2", 1032).text == "αβ"
    assert bytes(raw.LanguageString("αβ", 1032)) == b"\xe1\xe2"
    assert bytes(raw.LanguageString("café")) == b"caf\xe9"
    assert raw.LanguageString("Gott").Compare(raw.LanguageString("gott"), 0, 0) == 0
    assert raw.LanguageString("Gott") < raw.LanguageString("gott")  # ordinal: code units
    assert len({raw.LanguageString("a"), raw.LanguageString("a"), raw.LanguageString("a", 1031)}) == 2


def test_tagged_and_packaged_strings():
    mixed = raw.LanguageString("a") + raw.LanguageString("αβ", 1032)
    tagged, alternatives = raw.LangToTaggedStrings(mixed)
    assert (tagged, alternatives) == (b"a<Greek:\xe1\xe2", [])
    assert raw.TaggedStringToLang(tagged) == mixed
    assert raw.VisibleLength(tagged) == 3

    # U+2019 has two 8-bit forms in English: a placeholder and its alternatives.
    tagged, alternatives = raw.LangToTaggedStrings("it\u2019s")
    assert (tagged, alternatives) == (b"it\xads", [b"'\x92"])
    packaged = raw.LangToPackagedString("it\u2019s")
    assert packaged == raw.PackageAmbiguity(tagged, alternatives) == b"it\xads\xac'\x92"
    assert raw.MatchPackagedAmbiguous(b"IT'S", packaged, -1, 0)
    assert not raw.MatchPackagedAmbiguous(b"IT'S", packaged, -1, 1)
    assert raw.MatchAmbiguous(b"its", b"it", [], 2, 0) and not raw.MatchAmbiguous(b"its", b"it", [], -1, 0)
