#include "soil/ui/arraydelegate.h"

#include "soil/ui/soilpointmodel.h"

#include <QComboBox>

namespace bm::soil {

QWidget* ArrayDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex&) const
{
    auto* box = new QComboBox(parent);
    box->setObjectName(QStringLiteral("arrayEditor"));
    for (Array array : {Array::Wenner, Array::Schlumberger})
        box->addItem(SoilPointModel::arrayName(array), int(array));
    return box;
}

void ArrayDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const
{
    auto* box = static_cast<QComboBox*>(editor);
    box->setCurrentIndex(box->findData(index.data(Qt::EditRole)));
}

void ArrayDelegate::setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const
{
    model->setData(index, static_cast<QComboBox*>(editor)->currentData(), Qt::EditRole);
}

} // namespace bm::soil
