#pragma once

#include <QList>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QRect>
#include <QString>
#include <QWidget>

namespace viewtest {

// A paint device that keeps each text drawn on it, where it lies and the area its widget may
// paint, so a test can tell a text that fits from one cut off at its widget's edge.
class TextRecorder final : public QPaintDevice {
public:
    struct Run {
        QString text;
        QRectF box;
        QRect clip;
    };

    explicit TextRecorder(QWidget& window)
        : m_size(window.size())
        , m_engine(runs)
    {
        window.render(this);
    }
    QPaintEngine* paintEngine() const override { return &m_engine; }
    QList<Run> runs;

protected:
    int metric(PaintDeviceMetric metric) const override
    {
        switch (metric) {
        case PdmWidth:
            return m_size.width();
        case PdmHeight:
            return m_size.height();
        case PdmDevicePixelRatio:
            return 1;
        case PdmDevicePixelRatioScaled:
            return static_cast<int>(devicePixelRatioFScale());
        case PdmDepth:
            return 32;
        default:
            return 96; // the resolutions; the millimetre sizes are never asked
        }
    }

private:
    struct Engine final : QPaintEngine {
        explicit Engine(QList<Run>& into)
            : QPaintEngine(AllFeatures)
            , runs(into)
        {
        }
        bool begin(QPaintDevice*) override { return true; }
        bool end() override { return true; }
        void updateState(const QPaintEngineState& changed) override
        {
            if (changed.state() & DirtyTransform)
                transform = changed.transform();
        }
        void drawPath(const QPainterPath&) override { }
        void drawPolygon(const QPointF*, int, PolygonDrawMode) override { }
        void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override { }
        void drawImage(const QRectF&, const QImage&, const QRectF&, Qt::ImageConversionFlags) override { }
        void drawTextItem(const QPointF& at, const QTextItem& item) override
        {
            const QRectF box(at.x(), at.y() - item.ascent(), item.width(), item.ascent() + item.descent());
            runs.append({ item.text(), transform.mapRect(box), systemClip().boundingRect() });
        }
        Type type() const override { return User; }

        QList<Run>& runs;
        QTransform transform;
    };

    QSize m_size;
    mutable Engine m_engine;
};

} // namespace viewtest
