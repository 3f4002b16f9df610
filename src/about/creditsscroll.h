#pragma once

// The credits' scroll position, in twips (1/1440 inch), measured from the top of the picture.
// Each step moves the text up by a fixed amount; once the whole text has left the picture at
// the top edge it enters again at the bottom edge.
class CreditsScroll
{
public:
    static constexpr double kStep = 27.0;

    CreditsScroll(double textHeight, double pictureHeight);

    // Puts the text just below the picture.
    void restart() { m_top = m_pictureHeight; }
    // One tick; true when the text wrapped back to the bottom edge.
    bool step();

    double top() const { return m_top; }
    void setTop(double top) { m_top = top; }
    double textHeight() const { return m_textHeight; }
    double pictureHeight() const { return m_pictureHeight; }

private:
    double m_textHeight;
    double m_pictureHeight;
    double m_top;
};

// Screen conversions at a resolution in dots per inch (15 twips to a pixel at 96 dpi).
int twipsToPixels(double twips, int dpi);
double pixelsToTwips(int pixels, int dpi);
