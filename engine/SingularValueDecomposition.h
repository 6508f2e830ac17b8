// Singular value decomposition of the fit's Jacobian, J = U·diag(w)·Vᵀ, by
// the Golub–Reinsch method (see SingularValueDecomposition.cpp).
#pragma once

#include "engine/FixedArray.h"
#include "engine/Sounding.h"

// The fit's Jacobian, one row per measurement and one column per unknown,
// and the square and vector shapes of the unknowns.
using TJacobianMatrix = TFixedMatrix<double, 1, MaxMeasurements, 1, MaxUnknowns>;
using TUnknownMatrix = TFixedMatrix<double, 1, MaxUnknowns, 1, MaxUnknowns>;
using TUnknownVector = TFixedArray<double, 1, MaxUnknowns>;

// Decomposes the first m rows and n columns of a (n <= m) in place: a
// becomes U, w holds the singular values (not sorted), v holds V, and e is
// the superdiagonal's work space. Entries below tolerance·‖J‖∞ count as
// negligible. Nothing for n < 1.
void DecomposeJacobian(TJacobianMatrix& a, TUnknownVector& w, TUnknownVector& e, TUnknownMatrix& v, int m, int n,
                       double tolerance);
