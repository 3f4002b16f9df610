#include "about/creditsscroll.h"

#include <cmath>

CreditsScroll::CreditsScroll(double textHeight, double pictureHeight)
    : m_textHeight(textHeight)
    , m_pictureHeight(pictureHeight)
    , m_top(pictureHeight)
{
}

bool CreditsScroll::step()
{
    m_top -= kStep;
    // A top exactly at minus the height still has its last line touching the edge.
    if (m_top < -m_textHeight) {
        m_top = m_pictureHeight;
        return true;
    }
    return false;
}

int twipsToPixels(double twips, int dpi)
{
    return static_cast<int>(std::lround(twips * dpi / 1440.0));
}

double pixelsToTwips(int pixels, int dpi)
{
    return dpi > 0 ? pixels * 1440.0 / dpi : 0.0;
}
