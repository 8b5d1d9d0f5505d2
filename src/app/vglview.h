// The document view: draws the current symbol while one is ready, at a zoom
// of its own (the drawing sequence runs at the zoomed resolution).
#pragma once

#include <QWidget>
#include <functional>

namespace vg {

class CVGLView : public QWidget {
    Q_OBJECT
public:
    // Zoom steps in percent; 0 stands for Fit.
    static constexpr int kFit = 0;
    static constexpr int kSteps[] = {25, 50, 75, 100, 150, 200, 300, 400, 600, 800};

    explicit CVGLView(QWidget* parent = nullptr);
    // Asked before every paint: whether the record holds a drawable symbol.
    void SetReadyQuery(std::function<bool()> ready) { m_ready = std::move(ready); }
    // Paints counted since creation (tests and the benchmark wait on it).
    int PaintCount() const { return m_paints; }
    bool DrewSymbol() const { return m_drewSymbol; }

    // The zoom in percent, kFit to fill the window around the view.
    void SetZoom(int percent);
    int Zoom() const { return m_zoom; }
    // The factor the last paint drew at (Fit's worked out).
    double Scale() const { return m_scale; }
    // The next step up or down from the factor drawn at.
    void ZoomIn();
    void ZoomOut();
    // Called when the zoom changed.
    std::function<void()> onZoomChanged;

protected:
    void paintEvent(QPaintEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    double FitScale() const;

    std::function<bool()> m_ready;
    int m_paints = 0;
    bool m_drewSymbol = false;
    int m_zoom = 100;
    double m_scale = 1.0;
};

}  // namespace vg
