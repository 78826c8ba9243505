#pragma once
// The skinned tab strip: takes over an SSTab's painting and mouse input and draws its tab row from
// the skin's Tab.bmp. One row of equal tabs from the left edge, each with its optional picture and a
// centred caption, over a background in the tab background colour; the tab under the mouse is lit,
// a left click selects a tab and focuses the control.
//
// The strip keeps two surfaces of the control's size: the background, composed once per size
// change, and the front (background and tabs), recomposed at every redraw and copied to the screen.
// A missing or broken Tab.bmp leaves the background colour and the captions; nothing here fails.

#include "skin/TabStrip.h"
#include "skin/qt/Surface.h"

#include <QFont>
#include <QObject>
#include <QPointer>
#include <QString>
#include <cstdint>
#include <filesystem>

namespace skin {

class SSTab;

class CSSTab : public QObject {
    Q_OBJECT
  public:
    // Default colours of the settings: captions red, green and blue 21, background 225, 234, 246.
    static constexpr std::int32_t DefaultTabColor = 1381653;
    static constexpr std::int32_t DefaultTabBackColor = 16181985;

    explicit CSSTab(QObject* parent = nullptr);
    ~CSSTab() override;

    // Loads <appFolder>/Skin/<skinName>/Tab.bmp ("\" in skinName separates folders, as in "Default\Tabs")
    // and attaches to control, which resizes and draws the strip. False when no control is given or
    // this strip is already attached; then nothing is attached.
    bool TabSkin(SSTab* control, const QString& skinName, const std::filesystem::path& appFolder);
    bool TabSkin(SSTab* control, const QString& skinName);

    // Tab size in pixels, at least 3. Hosts set them before TabSkin; a change while attached redraws.
    // A new TabHeight keeps the background row's height until the next resize.
    int TabWidth() const { return strip_.tabWidth(); }
    void setTabWidth(int NewValue);
    int TabHeight() const { return strip_.tabHeight(); }
    void setTabHeight(int NewValue);

    // Colour integers (lowest byte red) of the captions and of the background, from the settings.
    // They take effect at the next resize.
    void setColors(std::int32_t tabColor, std::int32_t tabBackColor);

    // True when attached and the control has the keyboard focus.
    bool Focus() const;
    // The attached control, null when detached.
    SSTab* hwnd() const { return control_; }
    // Lets go of the control: no more painting or mouse handling; the surfaces are released, the
    // Tab.bmp picture is kept. False when nothing was attached.
    bool Detach();

    static std::int16_t LOWORD(std::int32_t DWord) { return TabStrip::loWord(DWord); }
    static std::int16_t HIWORD(std::int32_t DWord) { return TabStrip::hiWord(DWord); }

    // The strip background: the background colour, then the Tab.bmp background column over the
    // row height.
    void DrawBackGround(Surface& dc, int Width, int Height);
    // One tab; State 1 when the tab is under the mouse. A hidden tab is not drawn.
    void DrawTab(Surface& dc, int TabIndex, int State, int Left, int Top, int Width, int Height);
    // Remakes both surfaces at W x H and composes the background, then redraws off screen.
    void Resize(int W, int H);
    // Recomposes the front surface from the background and the tabs; to the screen when asked.
    void Redraw(bool toScreen);

    int hoveredTab() const { return strip_.hoveredTab(); }
    // What the control shows.
    const Surface& frontSurface() const { return front_; }

  signals:
    // The mouse came onto tab, or left the tabs (-1).
    void hoveredTabChanged(int tab);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    bool attach(SSTab* control);
    void pressAt(int button, int x, int y);

    TabStrip strip_;
    QPointer<SSTab> control_;
    bool controlHadHover_ = false;
    Surface back_;
    Surface front_;
    Surface tabBitmap_;
    QFont font_;
    std::int32_t tabColor_ = DefaultTabColor;
    std::int32_t tabBackColor_ = DefaultTabBackColor;
};

} // namespace skin
