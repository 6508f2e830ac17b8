// TEquivalenceForm: the Equivalence window, which shows how much of the
// model the measurements really fix: for every unknown the lowest and
// highest value of the models that fit as well within the tolerance, and
// per layer the thickness, the longitudinal conductance S and the
// transverse resistance T with their ranges over those models, then the
// Dar Zarrouk totals. Its grids are read-only grids of the result windows'
// kind, whose cells Edit > Copy and Select All take. Made hidden at start-up, shown by Data >
// Equivalence... with a new analysis of the document's model and unknowns.
//
// While it shows an analysis its equivalent models are offered for the chart
// (Models, ModelCount); hiding it or forgetting the analysis (Clear, after
// any change of the document) withdraws them, and OnModelsChanged says so.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include <QWidget>

class QLabel;
class TEquivalenceGrid;
class TResondixData;
struct TEquivalence;
struct TLayerModel;

// A sizeable tool window that stays on top of the main window and follows
// it, as the result windows do.
class TEquivalenceForm : public QWidget {
  Q_OBJECT

public:
  explicit TEquivalenceForm(QWidget* owner);
  ~TEquivalenceForm() override;

  // Analyses the document with the default tolerance, fills the window and
  // shows it. Returns why the analysis refuses, the window as it was, or ""
  // when it ran.
  std::string Analyse(const TResondixData& document);
  // Forgets the analysis: the tables empty, the note asks for a new one.
  void Clear();

  // The equivalent models to draw: those of the analysis while the window
  // shows one, else none.
  const TLayerModel* Models() const;
  int ModelCount() const;

  // Raised whenever Models or ModelCount change.
  std::function<void()> OnModelsChanged;

protected:
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;

private:
  void PlaceBesideOwner();
  void FillParameters();
  void FillLayers();
  void ModelsChanged();

  std::unique_ptr<TEquivalence> Analysis;
  bool HasAnalysis = false;
  bool Placed = false;
  QLabel* Summary = nullptr;
  TEquivalenceGrid* ParametersGrid = nullptr;
  TEquivalenceGrid* LayersGrid = nullptr;
  QLabel* Totals = nullptr;
};
