#pragma once
// The page-oriented device the visit report prints on (filled in with the report).
