#include "about/creditstext.h"

QString creditsText()
{
    // Nicknames and addresses of the team behind this program.
    static const char16_t text[] =
        u"====================================\r\n"
        u"Corvane 2.0 credits\r\n"
        u"====================================\r\n"
        u"\r\n"
        u"\r\n"
        u"PROGRAMMEURS\r\n"
        u"\r\n"
        u"Frostbyte\r\n"
        u"\r\n"
        u"Kilowatt\r\n"
        u"\r\n"
        u"Norrin\r\n"
        u"\r\n"
        u"Pixelmoth\r\n"
        u"\r\n"
        u"\r\n"
        u"DIVERS\r\n"
        u"\r\n"
        u"Project leader : Frostbyte\r\n"
        u"English site : Halden\r\n"
        u"French site : Marlowe\r\n"
        u"2D Artist : Pixelmoth\r\n"
        u"Generic : Tamsin\r\n"
        u"\r\n"
        u"SITES OFFICIELS\r\n"
        u"\r\n"
        u"http://www.corvane.example.org\r\n"
        u"http://fr.corvane.example.org (Français)\r\n"
        u"http://tfc.example.org/corvane (Français)\r\n"
        u"\r\n"
        u"\r\n"
        u"\r\n"
        u"==========================================\r\n"
        u"Pour tout bugs, contacter\r\n"
        u"bugs@corvane.example.org\r\n"
        u"==========================================\r\n";
    return QString::fromUtf16(text);
}
