#include "display/readingspanel.h"

#include <QFontDatabase>
#include <QLabel>
#include <QPainter>

namespace bm {

namespace {

constexpr int toPixels(int twips)
{
    // Round to the nearest pixel so that a flight's steps stay even on screen.
    return (twips >= 0 ? twips + ReadingsPanel::kTwipsPerPixel / 2 : twips - ReadingsPanel::kTwipsPerPixel / 2)
           / ReadingsPanel::kTwipsPerPixel;
}

// The panel was drawn for SimSun (宋体). Where it is missing, the stand-in has
// half-width Latin like SimSun, so the captions keep fitting their labels.
QString panelFamily()
{
    static const QString family = [] {
        const QStringList available = QFontDatabase::families();
        for (const char* candidate :
             {"SimSun", "宋体", "Noto Sans Mono CJK SC", "Noto Serif CJK SC", "Noto Sans CJK SC"}) {
            const QString name = QString::fromUtf8(candidate);
            if (available.contains(name))
                return name;
        }
        return QString();
    }();
    return family;
}

// The layout is in twips at 15 to the pixel, that is 96 dots per inch, so the
// type is pinned to the same scale: points * 96 / 72 pixels.
QFont panelFont(double points)
{
    QFont font;
    const QString family = panelFamily();
    if (!family.isEmpty())
        font.setFamily(family);
    font.setBold(true);
    font.setPixelSize(qRound(points * 96.0 / 72.0));
    return font;
}

void setColours(QLabel* label, const QColor& background, const QColor& text)
{
    QPalette pal = label->palette();
    if (background.isValid()) {
        pal.setColor(QPalette::Window, background);
        label->setAutoFillBackground(true);
    }
    if (text.isValid())
        pal.setColor(QPalette::WindowText, text);
    label->setPalette(pal);
}

// CJK faces carry a tall line box (ascent and descent near 1.45 em) while the
// labels are hardly taller than the type, so a centred line box cuts off
// descenders. This label centres the ink of capitals and descenders instead.
class InkCentredLabel final : public QLabel {
public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent*) override
    {
        const QFontMetrics fm(font());
        if (!inkKnown_ || inkFont_ != font()) {
            inkKnown_ = true;
            inkFont_ = font();
            above_ = -fm.tightBoundingRect(QStringLiteral("EΩ0")).top();
            below_ = fm.tightBoundingRect(QStringLiteral("ρp")).bottom();
        }
        const int baseline = (height() + above_ - below_) / 2;
        const int advance = fm.horizontalAdvance(text());
        const int x = (alignment() & Qt::AlignHCenter) ? (width() - advance) / 2 : 0;
        QPainter painter(this);
        painter.setPen(palette().color(foregroundRole()));
        painter.drawText(x, baseline, text());
    }

private:
    bool inkKnown_ = false;
    QFont inkFont_;
    int above_ = 0;
    int below_ = 0;
};

} // namespace

// A label placed in twips: the animation's arithmetic stays exact whatever
// pixel the label lands on.
class ReadingsPanel::LabelItem final : public MovableItem {
public:
    explicit LabelItem(QLabel* label) : label_(label) { place(); }

    int left() const override { return left_; }
    int top() const override { return top_; }
    void setLeft(int twips) override
    {
        left_ = twips;
        place();
    }
    void setTop(int twips) override
    {
        top_ = twips;
        place();
    }
    bool isVisible() const override { return !label_->isHidden(); }
    void setVisible(bool visible) override { label_->setVisible(visible); }

    QLabel* label() const { return label_; }

private:
    void place() { label_->move(toPixels(left_), toPixels(top_)); }

    QLabel* label_;
    int left_ = 0;
    int top_ = 0;
};

ReadingsPanel::ReadingsPanel(const Reading& reading, QWidget* parent)
    : QFrame(parent), reading_(reading), vrprecord_(this), movectrltimer_(this), movetimer_(this)
{
    setObjectName(QStringLiteral("Frame1"));
    setFrameShape(QFrame::StyledPanel);
    resize(toPixels(9615), toPixels(7095));

    buildLabels();
    buildMarks();
    setUpAnimation();
    showReading(reading);
    vrprecord_.start();
}

ReadingsPanel::~ReadingsPanel() = default;

void ReadingsPanel::buildLabels()
{
    struct LabelDesign {
        const char* name;
        const char* text;
        int width;
        int height;
    };
    const LabelDesign designs[PanelItemCount] = {
        {"Label3_0", QT_TR_NOOP("EARTH VOLTAGE:"), 3360, 435},
        {"Label3_1", QT_TR_NOOP("R EARTH:"), 1920, 435},
        {"Label3_2", QT_TR_NOOP("ρ EARTH:"), 2130, 435},
        {"Label3_3", QT_TR_NOOP("ρ LENGTH:"), 2370, 435},
        {"Label3_4", QT_TR_NOOP("Rc:"), 720, 435},
        {"Label3_5", QT_TR_NOOP("Rp:"), 720, 435},
        {"v", "0.0 V", 2100, 495},
        {"r", "0.00 Ω", 2100, 495},
        {"p", "0.00 Ωm", 2100, 495},
        {"p_length", "0.00 m", 2100, 495},
        {"rc", "0.00 KΩ", 2100, 495},
        {"rp", "0.00 KΩ", 2100, 495},
    };
    const QFont font = panelFont(21.75);
    for (int i = 0; i < PanelItemCount; ++i) {
        QLabel* label = addLabel(designs[i].name, i < ValueV ? tr(designs[i].text) : QString::fromUtf8(designs[i].text),
                                 designs[i].width, designs[i].height);
        label->setFont(font);
        label->setAlignment((i < ValueV ? Qt::AlignLeft : Qt::AlignHCenter) | Qt::AlignVCenter);
        label->hide(); // nothing shows until the first reveal places it
        items_[i] = std::make_unique<LabelItem>(label);
    }

    const QColor black(0, 0, 0);
    setColours(label(ValueV), QColor(255, 0, 0), black);
    setColours(label(ValueR), QColor(0, 192, 192), black);
    setColours(label(ValueP), QColor(0, 192, 192), black);
    setColours(label(ValuePLength), QColor(255, 128, 128), black);
    setColours(label(ValueRc), QColor(192, 192, 255), QColor());
    setColours(label(ValueRp), QColor(192, 192, 255), QColor());

    // Screen readers announce the text as the name; the description says what it is.
    label(ValueV)->setAccessibleDescription(tr("earth voltage"));
    label(ValueR)->setAccessibleDescription(tr("earth resistance"));
    label(ValueP)->setAccessibleDescription(tr("soil resistivity"));
    label(ValuePLength)->setAccessibleDescription(tr("electrode spacing"));
    label(ValueRc)->setAccessibleDescription(tr("current electrode resistance Rc"));
    label(ValueRp)->setAccessibleDescription(tr("potential electrode resistance Rp"));
}

void ReadingsPanel::buildMarks()
{
    const QFont markFont = panelFont(15);
    auto addMark = [&](const char* name, int left, int top, const QString& description) {
        auto* mark = new QLabel(QString::fromLatin1(name), this);
        mark->setObjectName(QString::fromLatin1(name));
        mark->setFont(markFont);
        setColours(mark, QColor(), QColor(255, 0, 0));
        mark->setAccessibleDescription(description);
        mark->adjustSize();
        mark->move(toPixels(left), toPixels(top));
        mark->hide();
        return mark;
    };
    hvolt_ = addMark("HVOLT", 7800, 2160, tr("high interference voltage warning"));
    noise_ = addMark("NOISE", 7800, 2760, tr("noise warning"));
    lowbat_ = addMark("LOWBAT", 7800, 3360, tr("low battery warning"));
}

void ReadingsPanel::setUpAnimation()
{
    RevealAnimation::Items movable{};
    for (int i = 0; i < PanelItemCount; ++i)
        movable[i] = items_[i].get();
    animation_ = std::make_unique<RevealAnimation>(movable, movectrltimer_, movetimer_);

    vrprecord_.setObjectName(QStringLiteral("vrprecord"));
    vrprecord_.setInterval(1000);
    connect(&vrprecord_, &QTimer::timeout, this, &ReadingsPanel::modeWatchTick);

    movectrltimer_.setObjectName(QStringLiteral("Movectrltimer"));
    movectrltimer_.setInterval(200);
    connect(&movectrltimer_, &QTimer::timeout, this, &ReadingsPanel::revealTick);

    // A flight is ten 5 ms steps; a coarse timer would stretch it towards the next reveal tick.
    movetimer_.setObjectName(QStringLiteral("Movetimer"));
    movetimer_.setInterval(5);
    movetimer_.setTimerType(Qt::PreciseTimer);
    connect(&movetimer_, &QTimer::timeout, this, &ReadingsPanel::flightTick);
}

QLabel* ReadingsPanel::addLabel(const char* name, const QString& text, int widthTwips, int heightTwips)
{
    auto* label = new InkCentredLabel(text, this);
    label->setObjectName(QString::fromLatin1(name));
    label->resize(toPixels(widthTwips), toPixels(heightTwips));
    return label;
}

void ReadingsPanel::showReading(const Reading& reading)
{
    label(ValueV)->setText(reading.v);
    label(ValueR)->setText(reading.r);
    label(ValueP)->setText(reading.p);
    label(ValuePLength)->setText(reading.p_length);
    label(ValueRc)->setText(reading.rc);
    label(ValueRp)->setText(reading.rp);
    noise_->setVisible(reading.noise);
    hvolt_->setVisible(reading.hvolt);
    lowbat_->setVisible(reading.lowbat);
}

void ReadingsPanel::stop()
{
    for (QTimer* timer : {&vrprecord_, &movectrltimer_, &movetimer_})
        timer->stop();
}

void ReadingsPanel::modeWatchTick() { animation_->watch(reading_.testmode); }

void ReadingsPanel::revealTick() { animation_->revealTick(reading_.testmode); }

void ReadingsPanel::flightTick() { animation_->moveTick(); }

int ReadingsPanel::leftOf(PanelItem item) const { return items_[item]->left(); }

int ReadingsPanel::topOf(PanelItem item) const { return items_[item]->top(); }

QLabel* ReadingsPanel::label(PanelItem item) const { return items_[item]->label(); }

} // namespace bm
