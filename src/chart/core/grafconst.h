// The chart library's texts: every message, caption, name and default text
// it shows or uses lives in one program-wide variable, so a translation can
// replace them in one place. SetLibraryTexts fills the base texts at start-up,
// SetExtraLibraryTexts the texts of the further series, functions and tools;
// ReleaseLibraryTexts empties both at program end.
//
// Each X(Name, "literal") below declares `extern std::string Name`, filled
// with the literal. \r (character 13) breaks a gallery caption into two lines,
// "&" marks an accelerator, %s/%d/%% are Format placeholders.
#pragma once

#include <string>

// File extension of the library's native chart files (without the dot).
extern std::string NativeExtension;

#define ZV_GRAF_BASE_TEXTS(X) \
  X(GrafMsgTest, "Test...") \
  X(GrafMsgFirstLegendValueMustBe0, "First Legend Value must be > 0") \
  X(GrafMsgLegendColorWidthMustBe0, "Legend Color Width must be > 0%") \
  X(GrafMsgNoParentChartToValidateDataSource, "No ParentChart to validate DataSource") \
  X(GrafMsgNoValidDataSourceS, "No valid DataSource: %s") \
  X(GrafMsgFillSampleValuesNumValuesMustBe0, "FillSampleValues NumValues must be > 0") \
  X(GrafMsgDateTimeAxisCannotBeLogarithmic, "DateTime Axis cannot be Logarithmic") \
  X(GrafMsgLogarithmicAxisMinAndMaxValuesShouldBe0, "Logarithmic Axis Min and Max values should be >= 0") \
  X(GrafMsgLabelsSeparationMustBeGreaterThan0, "Labels Separation % must be greater than 0") \
  X(GrafMsgAxisIncrementMustBe0, "Axis increment must be >= 0") \
  X(GrafMsgAxisMinimumValueMustBeMaximum, "Axis Minimum Value must be <= Maximum") \
  X(GrafMsgAxisMaximumValueMustBeMinimum, "Axis Maximum Value must be >= Minimum") \
  X(GrafMsgAxisLogarithmicBaseShouldBe1And0, "Axis Logarithmic Base should be <> 1 and > 0") \
  X(GrafMsgMaxPointsPerPageMustBe0, "MaxPointsPerPage must be >= 0") \
  X(GrafMsg3DEffectPercentMustBeBetweenDAndD, "3D effect percent must be between %d and %d") \
  X(GrafMsgCircularSeriesDependencesAreNotAllowed, "Circular Series dependences are not allowed") \
  X(GrafMsg16kColorOrGreaterRequiredToGetBetterLook, "16k Color or greater required to get better look") \
  X(GrafMsgValueOfTotal, "%s of %s") \
  X(GrafMsgValueOfTotalTwoLines, "%s\rof %s") \
  X(GrafMsgDefaultPercentFormat, "##0.## %") \
  X(GrafMsgDefaultValueFormat, "#,##0.###") \
  X(GrafMsgDefaultExpFormat, "#.0 \"x10\" E+0") \
  X(GrafMsgAxisTitle, "Axis Title") \
  X(GrafMsgAxisLabels, "Axis Labels") \
  X(GrafMsgRefreshIntervalMustBeBetween0And60, "Refresh Interval must be between 0 and 60") \
  X(GrafMsgSeriesParentChartIsNotMyself, "Series.ParentChart is not myself!") \
  X(GrafMsgLine, "Line") \
  X(GrafMsgGalleryLine, "Line") \
  X(GrafMsgPoint, "Point") \
  X(GrafMsgArea, "Area") \
  X(GrafMsgBar, "Bar") \
  X(GrafMsgGalleryBar, "Bar") \
  X(GrafMsgHorizontalBar, "Horizontal\rBar") \
  X(GrafMsgStack, "Stack") \
  X(GrafMsgPie, "Pie") \
  X(GrafMsgGalleryPie, "Pie") \
  X(GrafMsgCircled, "Circled") \
  X(GrafMsgFastLine, "Fast Line") \
  X(GrafMsgHorizontalLine, "Horizontal\rLine") \
  X(GrafMsgCars, "Cars") \
  X(GrafMsgPhones, "Phones") \
  X(GrafMsgTables, "Tables") \
  X(GrafMsgMonitors, "Monitors") \
  X(GrafMsgLamps, "Lamps") \
  X(GrafMsgKeyboards, "Keyboards") \
  X(GrafMsgBikes, "Bikes") \
  X(GrafMsgChairs, "Chairs") \
  X(GrafMsgMonospacedFontName, "Courier New") \
  X(GrafMsgEditingS, "Editing %s") \
  X(GrafMsgStandard, "Standard") \
  X(GrafMsgExtended, "Extended") \
  X(GrafMsgFunctions, "Functions") \
  X(GrafMsgEditChart, "E&dit Chart...") \
  X(GrafMsgPrintPreview, "&Print Preview...") \
  X(GrafMsgExportChart, "E&xport Chart...") \
  X(GrafMsgCustomAxes, "Custom Axes...") \
  X(GrafMsgSInvalidEditorClassS, "%s: Invalid Editor Class: %s") \
  X(GrafMsgSHasNoEditorDialog, "%s: has no Editor Dialog") \
  X(GrafMsgArrow, "Arrow") \
  X(GrafMsgFinish, "&Finish") \
  X(GrafMsgNextButton, "&Next >") \
  X(GrafMsgGantt, "Gantt") \
  X(GrafMsgDesign, "Design") \
  X(GrafMsgPrototyping, "Prototyping") \
  X(GrafMsgDevelopment, "Development") \
  X(GrafMsgSales, "Sales") \
  X(GrafMsgMarketing, "Marketing") \
  X(GrafMsgTesting, "Testing") \
  X(GrafMsgManufac, "Manufac.") \
  X(GrafMsgDebugging, "Debugging") \
  X(GrafMsgNewVersion, "New Version") \
  X(GrafMsgBanking, "Banking") \
  X(GrafMsgChangeSeriesTitle, "Change Series Title") \
  X(GrafMsgNewSeriesTitle, "New Series Title:") \
  X(GrafMsgDateTime, "DateTime") \
  X(GrafMsgTopAxis, "Top Axis") \
  X(GrafMsgBottomAxis, "Bottom Axis") \
  X(GrafMsgLeftAxis, "Left Axis") \
  X(GrafMsgRightAxis, "Right Axis") \
  X(GrafMsgDeleteS, "Delete %s ?") \
  X(GrafMsgDateTimeFormat, "DateTime For&mat:") \
  X(GrafMsgDefault, "Default") \
  X(GrafMsgValuesFormat, "Values For&mat:") \
  X(GrafMsgMaximum, "Maximum") \
  X(GrafMsgMinimum, "Minimum") \
  X(GrafMsgDesiredSIncrement, "Desired %s Increment") \
  X(GrafMsgIncorrectValueReasonS, "Incorrect value. Reason: %s") \
  X(GrafMsgEnterNumberOfDaysHhNnSs, "Enter [Number of Days] [hh:nn:ss]") \
  X(GrafMsgApplyChanges, "Apply Changes ?") \
  X(GrafMsgSelectedSeries, "(Selected Series)") \
  X(GrafMsgRefreshData, "&Refresh Data") \
  X(GrafMsgDefaultFontSize, "8") \
  X(GrafMsgDefaultEditorWidth, "414") \
  X(GrafMsgDefaultEditorHeight, "347") \
  X(GrafMsgAdd, "Add") \
  X(GrafMsgSubtract, "Subtract") \
  X(GrafMsgMultiply, "Multiply") \
  X(GrafMsgDivide, "Divide") \
  X(GrafMsgHigh, "High") \
  X(GrafMsgLow, "Low") \
  X(GrafMsgAverage, "Average") \
  X(GrafMsgShape, "Shape") \
  X(GrafMsgBubble, "Bubble") \
  X(GrafMsgCopy, "Copy") \
  X(GrafMsgNone, "(none)") \
  X(GrafMsgPrivateDeclarations, "{ Private declarations }") \
  X(GrafMsgPublicDeclarations, "{ Public declarations }") \
  X(GrafMsgDefaultFontName, "Arial") \
  X(GrafMsgPointerSizeMustBeGreaterThanZero, "Pointer size must be greater than zero") \
  X(GrafMsgAboutGrafChart, "Abo&ut GrafChart...") \
  X(GrafMsgAdditional, "Additional") \
  X(GrafMsgDataControls, "Data Controls") \
  X(GrafMsgQReport, "QReport") \
  X(GrafMsgDataset, "Dataset") \
  X(GrafMsgDatasetField, "&Dataset:") \
  X(GrafMsgSingleRecord, "Single Record") \
  X(GrafMsgDataSource, "&DataSource:") \
  X(GrafMsgSummary, "Summary") \
  X(GrafMsgFunctionPeriodShouldBe0, "Function Period should be >= 0") \
  X(GrafMsgBusiness, "Business") \
  X(GrafMsgGrafChartWizard, "GrafChart Wizard") \
  X(GrafMsgClear, "Clea&r") \
  X(GrafMsgBrowse, "B&rowse...") \
  X(GrafMsgAreYouSureThatYouWantToCloseTheGrafChartWizard, "Are you sure that you want to close the GrafChart Wizard ?") \
  X(GrafMsgFieldSDoesNotExist, "Field %s does not exist") \
  X(GrafMsgDepthRight, "Depth Right") \
  X(GrafMsgOther, "Other") \
  X(GrafMsgAbc, "abc") \
  X(GrafMsg123, "123") \
  X(GrafMsgX, "X") \
  X(GrafMsgY, "Y") \
  X(GrafMsgAngle, "Angle") \
  X(GrafMsgStart, "Start") \
  X(GrafMsgEnd, "End") \
  X(GrafMsgNextTask, "NextTask") \
  X(GrafMsgRadius, "Radius") \
  X(GrafMsgEndX, "EndX") \
  X(GrafMsgEndY, "EndY") \
  X(GrafMsgLegend, "Legend") \
  X(GrafMsgTitle, "Title") \
  X(GrafMsgFooter, "Footer") \
  X(GrafMsgPeriod, "Period") \
  X(GrafMsgPeriodRange, "Period range") \
  X(GrafMsgCalculateSEvery, "Calculate %s every:") \
  X(GrafMsgSmallDots, "Small Dots") \
  X(GrafMsgChartAxes, "Chart Axes") \
  X(GrafMsgChartAxesPropertiesAndEvents, "Chart Axes properties and events") \
  X(GrafMsgChartWalls, "Chart Walls") \
  X(GrafMsgChartWallsPropertiesAndEvents, "Chart Walls properties and events") \
  X(GrafMsgChartTitles, "Chart Titles") \
  X(GrafMsgChartTitlesPropertiesAndEvents, "Chart Titles properties and events") \
  X(GrafMsgChart3D, "Chart 3D") \
  X(GrafMsgChart3DPropertiesAndEvents, "Chart 3D properties and events") \
  X(GrafMsgCustomPrefix, "Custom ") \
  X(GrafMsgSeries, "Series") \
  X(GrafMsgSeriesDots, "Series...") \
  X(GrafMsgPageDOfD, "Page %d of %d") \
  X(GrafMsgDBytes, "%d bytes") \
  X(GrafMsgFirst, "First") \
  X(GrafMsgPrior, "Prior") \
  X(GrafMsgNext, "Next") \
  X(GrafMsgLast, "Last") \
  X(GrafMsgInsert, "Insert") \
  X(GrafMsgDelete, "Delete") \
  X(GrafMsgEdit, "Edit") \
  X(GrafMsgPost, "Post") \
  X(GrafMsgCancel, "Cancel") \
  X(GrafMsgAll, "(all)") \
  X(GrafMsgIndex, "Index") \
  X(GrafMsgText, "Text") \
  X(GrafMsgAsBitmap, "as &Bitmap") \
  X(GrafMsgBitmapsBmpBmp, "Bitmaps (*.bmp)|*.bmp") \
  X(GrafMsgAsMetafile, "as &Metafile") \
  X(GrafMsgEnhancedMetafilesEmfEmfMetafilesWmfWmf, "Enhanced Metafiles (*.emf)|*.emf|Metafiles (*.wmf)|*.wmf") \
  X(GrafMsgPanelPropertyIsNotSetInExportFormat, "Panel property is not set in Export format") \
  X(GrafMsgNormal, "Normal") \
  X(GrafMsgNoBorder, "No Border") \
  X(GrafMsgDotted, "Dotted") \
  X(GrafMsgColors, "Colors") \
  X(GrafMsgFilled, "Filled") \
  X(GrafMsgMarks, "Marks") \
  X(GrafMsgStairs, "Stairs") \
  X(GrafMsgPoints, "Points") \
  X(GrafMsgHeight, "Height") \
  X(GrafMsgHollow, "Hollow") \
  X(GrafMsgPoint2D, "Point 2D") \
  X(GrafMsgTriangle, "Triangle") \
  X(GrafMsgStar, "Star") \
  X(GrafMsgCircle, "Circle") \
  X(GrafMsgDownTri, "Down Tri.") \
  X(GrafMsgCross, "Cross") \
  X(GrafMsgDiamond, "Diamond") \
  X(GrafMsgNoLines, "No Lines") \
  X(GrafMsgStack100, "Stack 100%") \
  X(GrafMsgPyramid, "Pyramid") \
  X(GrafMsgEllipse, "Ellipse") \
  X(GrafMsgInvPyramid, "Inv. Pyramid") \
  X(GrafMsgSides, "Sides") \
  X(GrafMsgSideAll, "Side All") \
  X(GrafMsgPatterns, "Patterns") \
  X(GrafMsgExploded, "Exploded") \
  X(GrafMsgShadow, "Shadow") \
  X(GrafMsgSemiPie, "Semi Pie") \
  X(GrafMsgRectangle, "Rectangle") \
  X(GrafMsgVertLine, "Vert.Line") \
  X(GrafMsgHorizLine, "Horiz.Line") \
  X(GrafMsgCube, "Cube") \
  X(GrafMsgDiagCross, "Diag.Cross") \
  X(GrafMsgCanNotFindTempFolder, "Can not find Temp folder") \
  X(GrafMsgCanNotCreateTempFile, "Can not create Temp file") \
  X(GrafMsgCanNotEmailGrafChartMapiErrorD, "Can not email GrafChart. Mapi Error: %d") \
  X(GrafMsgSeriesDeleteValueIndexDOutOfBounds0ToD, "Series Delete: ValueIndex %d out of bounds (0 to %d).") \
  X(GrafMsgNoSeriesSelected, "No Series selected") \
  X(GrafMsgErrorCodeDDownloadingChartFromURLS, "Error code: %d downloading Chart from URL: %s") \
  X(GrafMsgErrorCodeDDownloadingSeriesDataFromURLS, "Error code: %d downloading Series data from URL: %s") \
  X(GrafMsgAsJPEG, "as &JPEG") \
  X(GrafMsgJPEGFilesJpgJpg, "JPEG files (*.jpg)|*.jpg") \
  X(GrafMsgAsGIF, "as &GIF") \
  X(GrafMsgGIFFilesGifGif, "GIF files (*.gif)|*.gif") \
  X(GrafMsgAsPNG, "as &PNG") \
  X(GrafMsgPNGFilesPngPng, "PNG files (*.png)|*.png") \
  X(GrafMsgAsPCX, "as PC&X") \
  X(GrafMsgPCXFilesPcxPcx, "PCX files (*.pcx)|*.pcx") \
  X(GrafMsgAsVMLHTM, "as &VML (HTM)") \
  X(GrafMsgVMLFilesHtmHtm, "VML files (*.htm)|*.htm") \
  X(GrafMsgLanguage, "&Language...") \
  X(GrafMsgGradient, "Gradient") \
  X(GrafMsgDoYouWantToSaveS, "Do you want to save %s?") \
  X(GrafMsgProperty, "Property") \
  X(GrafMsgValue, "Value") \
  X(GrafMsgYes, "Yes") \
  X(GrafMsgNo, "No") \
  X(GrafMsgImageLabel, "(image)") \
  X(GrafMsgYFX, "y = f(x)") \
  X(GrafMsgAsPDF, "as &PDF") \
  X(GrafMsgPDFFilesPdfPdf, "PDF files (*.pdf)|*.pdf") \
  X(GrafMsgAsPostScript, "as PostScript") \
  X(GrafMsgPostScriptFilesEpsEps, "PostScript files (*.eps)|*.eps") \
  X(GrafMsgHorizontalArea, "Horizontal\rArea") \
  X(GrafMsgSelfStacked, "Self Stacked") \
  X(GrafMsgDarkBorder, "Dark Border") \
  X(GrafMsgSelectDatabaseFolder, "Select database folder") \
  X(GrafMsgAlias, "&Alias:") \
  X(GrafMsgConnection, "&Connection:") \
  X(GrafMsgApply, "&Apply") \
  X(GrafMsgAddNewGroup, "Add new group") \
  X(GrafMsgChangeGroupName, "Change group name") \
  X(GrafMsgGroupName, "Group name:") \
  X(GrafMsgMedian, "Median") \
  X(GrafMsgMode, "Mode") \
  X(GrafMsgOptions, "&Options...") \
  X(GrafMsgDepthTop, "Depth Top") \
  X(GrafMsg2D, "2D") \
  X(GrafMsgOutline, "Outline") \
  X(GrafMsgSpaceDelimitedTextFilesTxtTxt, "Space delimited text files (*.txt)|*.txt") \
  X(GrafMsgTabDelimitedTextFilesTxtTxt, "Tab delimited text files (*.txt)|*.txt") \
  X(GrafMsgCommaDelimitedTextFilesCsvCsv, "Comma delimited text files (*.csv)|*.csv") \
  X(GrafMsgColonDelimitedTextFilesTxtTxt, "Colon delimited text files (*.txt)|*.txt") \
  X(GrafMsgCustomDelimitedTextFilesTxtTxt, "Custom delimited text files (*.txt)|*.txt") \
  X(GrafMsgXMLFilesXmlXml, "XML files (*.xml)|*.xml") \
  X(GrafMsgHTMLFilesHtmHtm, "HTML files (*.htm)|*.htm") \
  X(GrafMsgMicrosoftExcelFilesXlsXls, "Microsoft Excel files (*.xls)|*.xls") \
  X(GrafMsgOrthoRight, "Ortho Right") \
  X(GrafMsgOrthoLeft, "Ortho Left") \
  X(GrafMsg3DFront, "3D Front") \
  X(GrafMsg3DRight, "3D Right") \
  X(GrafMsg3DLeft, "3D Left") \
  X(GrafMsgAsSVG, "as &SVG") \
  X(GrafMsgSVGFilesSvgSvg, "SVG files (*.svg)|*.svg") \
  X(GrafMsgSubTitle, "SubTitle") \
  X(GrafMsgSubFoot, "SubFoot")

#define ZV_GRAF_EXTRA_TEXTS(X) \
  X(GrafMsgExPolar, "Polar") \
  X(GrafMsgExCandle, "Candle") \
  X(GrafMsgExVolume, "Volume") \
  X(GrafMsgExSurface, "Surface") \
  X(GrafMsgExContour, "Contour") \
  X(GrafMsgExBezier, "Bezier") \
  X(GrafMsgExPoint3D, "Point 3D") \
  X(GrafMsgExRadar, "Radar") \
  X(GrafMsgExDonut, "Donut") \
  X(GrafMsgExCursor, "Cursor") \
  X(GrafMsgExBar3D, "Bar 3D") \
  X(GrafMsgExBigCandle, "Big Candle") \
  X(GrafMsgExLinePoint, "Line Point") \
  X(GrafMsgExHistogram, "Histogram") \
  X(GrafMsgExWaterFall, "Water Fall") \
  X(GrafMsgExWindRose, "Wind Rose") \
  X(GrafMsgExClock, "Clock") \
  X(GrafMsgExColorGrid, "Color Grid") \
  X(GrafMsgExBoxPlot, "BoxPlot") \
  X(GrafMsgExHorizontalBoxPlot, "Horizontal\rBoxPlot") \
  X(GrafMsgExBarJoin, "Bar Join") \
  X(GrafMsgExSmith, "Smith") \
  X(GrafMsgExPyramid, "Pyramid") \
  X(GrafMsgExMap, "Map") \
  X(GrafMsgExVolumePipe, "VolumePipe") \
  X(GrafMsgExPolynomialDegreeMustBeBetween1And20, "Polynomial degree must be between 1 and 20") \
  X(GrafMsgExAnswerVectorIndexMustBeBetween1AndD, "Answer Vector index must be between 1 and %d") \
  X(GrafMsgExCannotProcessFitting, "Cannot process fitting") \
  X(GrafMsgExPeriodMustBe0, "Period must be >= 0") \
  X(GrafMsgExExpAverageWeightMustBeBetween0And1, "ExpAverage Weight must be between 0 and 1") \
  X(GrafMsgExErrorBar, "Error Bar") \
  X(GrafMsgExError, "Error") \
  X(GrafMsgExHighLow, "High-Low") \
  X(GrafMsgExMomentum, "Momentum") \
  X(GrafMsgExMomentumDivision, "Momentum\rDivision") \
  X(GrafMsgExExponentialAverage, "Exponential\rAverage") \
  X(GrafMsgExMovingAverage, "Moving\rAverage") \
  X(GrafMsgExExpMovingAverage, "Exp.Moving\rAverage") \
  X(GrafMsgExRSI, "R.S.I.") \
  X(GrafMsgExCurveFitting, "Curve Fitting") \
  X(GrafMsgExTrend, "Trend") \
  X(GrafMsgExExponentialTrend, "Exponential\rTrend") \
  X(GrafMsgExLogarithmicTrend, "Logarithmic\rTrend") \
  X(GrafMsgExCumulative, "Cumulative") \
  X(GrafMsgExStandardDeviation, "Standard\rDeviation") \
  X(GrafMsgExBollingerBands, "Bollinger\rbands") \
  X(GrafMsgExRootMeanSquare, "Root Mean\rSquare") \
  X(GrafMsgExMACD, "MACD") \
  X(GrafMsgExStochastic, "Stochastic") \
  X(GrafMsgExADX, "ADX") \
  X(GrafMsgExCount, "Count") \
  X(GrafMsgExOpenGrafChart, "Open GrafChart...") \
  X(GrafMsgExSaveGrafChart, "Save GrafChart...") \
  X(GrafMsgExGrafChartProFiles, "GrafChart Pro files") \
  X(GrafMsgExOther, "Other") \
  X(GrafMsgExStats, "Stats") \
  X(GrafMsgExCannotFindSeriesEditorFormS, "Cannot find Series editor Form: %s") \
  X(GrafMsgExDate, "Date") \
  X(GrafMsgExOpen, "Open") \
  X(GrafMsgExHigh, "High") \
  X(GrafMsgExLow, "Low") \
  X(GrafMsgExClose, "Close") \
  X(GrafMsgExOffset, "Offset") \
  X(GrafMsgExStdError, "StdError") \
  X(GrafMsgExGrid3D, "Grid 3D") \
  X(GrafMsgExNumberOfBezierPointsShouldBe1, "Number of Bezier points should be > 1") \
  X(GrafMsgExNormal, "Normal") \
  X(GrafMsgExEdit, "Edit") \
  X(GrafMsgExPrint, "Print") \
  X(GrafMsgExCopy, "Copy") \
  X(GrafMsgExSave, "Save") \
  X(GrafMsgEx3D, "3D") \
  X(GrafMsgExRotationDElevationD, "Rotation: %d° Elevation: %d°") \
  X(GrafMsgExRotate, "Rotate") \
  X(GrafMsgExRotateTool, "Rotate") \
  X(GrafMsgExHorizOffsetDVertOffsetD, "Horiz.Offset: %d Vert.Offset: %d") \
  X(GrafMsgExMove, "Move") \
  X(GrafMsgExZoomD, "Zoom: %d %%") \
  X(GrafMsgExZoom, "Zoom") \
  X(GrafMsgEx3DD, "3D: %d %%") \
  X(GrafMsgExDepth, "Depth") \
  X(GrafMsgExChart, "Chart") \
  X(GrafMsgExPanel, "Panel") \
  X(GrafMsgExDragSToRotate, "Drag %s to Rotate") \
  X(GrafMsgExDragSToMove, "Drag %s to Move") \
  X(GrafMsgExDragSToZoom, "Drag %s to Zoom") \
  X(GrafMsgExDragSToResize3D, "Drag %s to resize 3D") \
  X(GrafMsgExDragLeftButtonToZoomRightButtonToScroll, "Drag Left button to Zoom, Right button to Scroll") \
  X(GrafMsgExDragAPieSliceToExplodeIt, "Drag a Pie Slice to Explode it") \
  X(GrafMsgExSliceDExplodedD, "Slice: %d Exploded: %d %%") \
  X(GrafMsgExNumberOfPointsMustBe4, "Number of points must be >= 4") \
  X(GrafMsgExAllColinearDataPoints, "All colinear data points") \
  X(GrafMsgExSimilarXYZPointsCannotCalculateTriangles, "Similar XYZ points. Cannot calculate triangles.") \
  X(GrafMsgExTriangleSurf, "Triangle Surf.") \
  X(GrafMsgExAllSeries, "All Series") \
  X(GrafMsgExFinancial, "Financial") \
  X(GrafMsgExDragMarks, "Drag Marks") \
  X(GrafMsgExAxisArrows, "Axis Arrows") \
  X(GrafMsgExDrawLine, "Draw Line") \
  X(GrafMsgExNearestPoint, "Nearest Point") \
  X(GrafMsgExColorBand, "Color Band") \
  X(GrafMsgExColorLine, "Color Line") \
  X(GrafMsgExImage, "Image") \
  X(GrafMsgExMarkTips, "Mark Tips") \
  X(GrafMsgExAnnotation, "Annotation") \
  X(GrafMsgExCanNotDeleteAncestor, "Can not delete ancestor") \
  X(GrafMsgExLoad, "Load...") \
  X(GrafMsgExChartSeries, "Chart Series") \
  X(GrafMsgEx3DAction, "&3D") \
  X(GrafMsgExSwitch2D3D, "Switch 2D / 3D") \
  X(GrafMsgExActive, "&Active") \
  X(GrafMsgExShowHideSeries, "Show / Hide Series") \
  X(GrafMsgExEditChart, "Edit Chart") \
  X(GrafMsgExEditAction, "&Edit...") \
  X(GrafMsgExCopyToClipboard, "Copy to Clipboard") \
  X(GrafMsgExCopyAction, "&Copy") \
  X(GrafMsgExPrintPreviewChart, "Print preview Chart") \
  X(GrafMsgExPrintAction, "&Print...") \
  X(GrafMsgExShowHideAxes, "Show / Hide Axes") \
  X(GrafMsgExAxes, "&Axes") \
  X(GrafMsgExShowHideGrids, "Show / Hide Grids") \
  X(GrafMsgExGrids, "&Grids") \
  X(GrafMsgExShowHideLegend, "Show / Hide Legend") \
  X(GrafMsgExLegend, "&Legend") \
  X(GrafMsgExEditSeries, "Edit Series") \
  X(GrafMsgExShowHideSeriesMarks, "Show / Hide Series Marks") \
  X(GrafMsgExMarks, "&Marks") \
  X(GrafMsgExSaveChart, "Save Chart") \
  X(GrafMsgExSaveAction, "&Save...") \
  X(GrafMsgExBar, "Bar") \
  X(GrafMsgExNoOpen, "No Open") \
  X(GrafMsgExNoClose, "No Close") \
  X(GrafMsgExNoHigh, "No High") \
  X(GrafMsgExNoLow, "No Low") \
  X(GrafMsgExColorRange, "Color Range") \
  X(GrafMsgExWireframe, "Wireframe") \
  X(GrafMsgExDotFrame, "Dot Frame") \
  X(GrafMsgExPositions, "Positions") \
  X(GrafMsgExNoGrid, "No Grid") \
  X(GrafMsgExNoPoint, "No Point") \
  X(GrafMsgExNoLine, "No Line") \
  X(GrafMsgExLabels, "Labels") \
  X(GrafMsgExNoCircle, "No Circle") \
  X(GrafMsgExLines, "Lines") \
  X(GrafMsgExBorder, "Border") \
  X(GrafMsgExResistance, "Resistance") \
  X(GrafMsgExReactance, "Reactance") \
  X(GrafMsgExColumn, "Column") \
  X(GrafMsgExSeparator, "Separator") \
  X(GrafMsgExSegmentPrefix, "Segment ") \
  X(GrafMsgExFunnel, "Funnel") \
  X(GrafMsgExPercentFormat, "0.00 %") \
  X(GrafMsgExExceedsQuota, "Exceeds quota") \
  X(GrafMsgExWithinQuota, " within quota") \
  X(GrafMsgExOrMoreBelowQuota, " or more below quota") \
  X(GrafMsgExCalendar, "Calendar") \
  X(GrafMsgExDeltaPoint, "DeltaPoint") \
  X(GrafMsgExImagePoint, "ImagePoint") \
  X(GrafMsgExImageBar, "ImageBar") \
  X(GrafMsgExSeriesTextFieldIndexShouldBeGreaterThanZero, "SeriesText: Field index should be greater than zero.") \
  X(GrafMsgExOrigin, "Origin") \
  X(GrafMsgExTransparency, "Transparency") \
  X(GrafMsgExBox, "Box") \
  X(GrafMsgExExtrOut, "ExtrOut") \
  X(GrafMsgExMildOut, "MildOut") \
  X(GrafMsgExPageNumber, "Page Number") \
  X(GrafMsgExTextFile, "Text File") \
  X(GrafMsgExDragPoint, "Drag Point") \
  X(GrafMsgExOpportunityValues, "OpportunityValues") \
  X(GrafMsgExQuoteValues, "QuoteValues") \
  X(GrafMsgExSmoothing, "Smoothing") \
  X(GrafMsgExCrossPoints, "Cross Points") \
  X(GrafMsgEx3DGridTranspose, "3D Grid Transpose") \
  X(GrafMsgExCompression, "Compression") \
  X(GrafMsgExExtraLegend, "Extra Legend") \
  X(GrafMsgExCloseLocationValue, "Close Location\rValue") \
  X(GrafMsgExOnBalanceVolume, "On Balance\rVolume") \
  X(GrafMsgExCommodityChannelIndex, "Commodity\rChannel Index") \
  X(GrafMsgExVolumeOscillator, "Volume\rOscillator") \
  X(GrafMsgExSeriesAnimation, "Series Animation") \
  X(GrafMsgExPointFigure, "Point & Figure") \
  X(GrafMsgExUp, "Up") \
  X(GrafMsgExDown, "Down") \
  X(GrafMsgExGanttDrag, "Gantt Drag") \
  X(GrafMsgExXMLFile, "XML file") \
  X(GrafMsgExGridBand, "Grid Band") \
  X(GrafMsgExPerformance, "Performance") \
  X(GrafMsgExGauge, "Gauge") \
  X(GrafMsgExGauges, "Gauges") \
  X(GrafMsgExEndZ, "EndZ") \
  X(GrafMsgExVector3D, "Vector 3D") \
  X(GrafMsgExTower, "Tower") \
  X(GrafMsgExSingleColor, "Single Color") \
  X(GrafMsgExCover, "Cover") \
  X(GrafMsgExCone, "Cone") \
  X(GrafMsgExPieSlices, "Pie Slices") \
  X(GrafMsgExStop, "Stop") \
  X(GrafMsgExExecute, "Execute !") \
  X(GrafMsgExThemes, "Themes") \
  X(GrafMsgEx2DLighting, "2D Lighting") \
  X(GrafMsgExCurrent, "Current") \
  X(GrafMsgExCorrelation, "Correlation") \
  X(GrafMsgExVariance, "Variance") \
  X(GrafMsgExBubble3D, "Bubble 3D") \
  X(GrafMsgExHorizontalHistogram, "Horizontal\rHistogram") \
  X(GrafMsgExPerimeter, "Perimeter") \
  X(GrafMsgExSurfaceNearest, "Surface Nearest") \
  X(GrafMsgExAxisScroll, "Axis Scroll") \
  X(GrafMsgExRectangle, "Rectangle") \
  X(GrafMsgExPolarBar, "Polar Bar") \
  X(GrafMsgExWapBitmap, "Wap Bitmap") \
  X(GrafMsgExWapBitmapsWbmpWbmp, "Wap Bitmaps (*.wbmp)|*.wbmp") \
  X(GrafMsgExClipSeries, "Clip Series") \
  X(GrafMsgExSeriesBand, "Series Band") \
  X(GrafMsgExFacts, "Facts") \
  X(GrafMsgExDownsampling, "Downsampling") \
  X(GrafMsgExSelector, "Selector") \
  X(GrafMsgExLegendScrollbar, "Legend Scrollbar") \
  X(GrafMsgExDataTable, "Data Table") \
  X(GrafMsgExISOSurface, "ISOSurface")

#define ZV_GRAF_DECLARE_TEXT(Name, Literal) extern std::string Name;
ZV_GRAF_BASE_TEXTS(ZV_GRAF_DECLARE_TEXT)
ZV_GRAF_EXTRA_TEXTS(ZV_GRAF_DECLARE_TEXT)
#undef ZV_GRAF_DECLARE_TEXT

// Base texts built from NativeExtension when the base texts are set.
extern std::string GrafMsgInvalidNativeFile;  // Invalid Chart in *.grf file
extern std::string GrafMsgWrongNativeFormat;  // Wrong *.grf file format
extern std::string GrafMsgEmptyNativeFile;    // Empty *.grf file
extern std::string GrafMsgNativeFilter;       // GrafChart files (*.grf)|*.grf
// Where the library comes from (shown by the about box).
extern std::string GrafMsgLibraryNotice;

// "(*.<ext>)|*.<ext>" for the file dialogs.
std::string NativeFilterFragment();

void SetLibraryTexts();
void SetExtraLibraryTexts();
// Empties both groups and NativeExtension.
void ReleaseLibraryTexts();
