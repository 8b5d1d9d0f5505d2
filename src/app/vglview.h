// The document view: draws the current symbol while one is ready.
#pragma once

#include <QWidget>
#include <functional>

namespace vg {

class CVGLView : public QWidget {
    Q_OBJECT
public:
    explicit CVGLView(QWidget* parent = nullptr);
    // Asked before every paint: whether the record holds a drawable symbol.
    void SetReadyQuery(std::function<bool()> ready) { ready_ = std::move(ready); }
    // Paints counted since creation (tests and the benchmark wait on it).
    int PaintCount() const { return paints_; }
    bool DrewSymbol() const { return drewSymbol_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::function<bool()> ready_;
    int paints_ = 0;
    bool drewSymbol_ = false;
};

}  // namespace vg
