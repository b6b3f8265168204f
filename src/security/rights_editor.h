#pragma once
// The rights of one area for every user: a row per user, a check box per named right.
// Administrators hold every right, so their rows show all boxes checked and cannot be changed.
// Saving applies only the boxes the administrator changed, to the rights stored at that moment.
#include "security/security.h"

#include <QDialog>

#include <map>
#include <vector>

class QTableWidget;

namespace saldora::security {

class RightsEditor final : public QDialog {
    Q_OBJECT
  public:
    // Window-modal to the parent.
    static RightsEditor* start(Security& security, Handle handle, const Area& area,
                               QWidget* parent);

    RightsEditor(Security& security, Handle handle, Area area, QWidget* parent);

    // What the boxes changed, user by user (for saving, and for tests).
    std::vector<RightsChange> changes() const;

  private:
    bool load();
    void save();

    Security& security_;
    Handle handle_;
    Area area_;
    std::vector<int> bits_;              // the bit of each right column
    std::vector<User> users_;            // one per row
    std::map<int32_t, uint32_t> loaded_; // the stored rights shown
    QTableWidget* table_;
};

} // namespace saldora::security
