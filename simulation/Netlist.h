#pragma once

#include "NetElement.h"

#include <QByteArray>
#include <QString>

#include <memory>
#include <string>
#include <vector>

class CVonnDoc;

// The circuit reduced to a netlist: the element list and instrument list of one run, its
// node numbers and earth node, and the writer of kest.cir. One instance serves the whole
// program (Netlist()); every run rebuilds it, and playback reads the lists it leaves.
class CNetlist {
public:
    using CElementList = std::vector<std::unique_ptr<CNetElement>>;

    CNetlist() = default;
    CNetlist(const CNetlist&) = delete;
    CNetlist& operator=(const CNetlist&) = delete;

    // Empties both lists and forgets the nodes of the last run.
    void Clear();

    // One element per complete wire and per component that can take part, numbering every
    // terminal; sets each component's m_nNode and m_nIndex (-1 for those left out).
    void BuildElementList(CVonnDoc& doc);

    // Reduces the element list to the netlist and writes it to strCirPath: 1 when written,
    // -1 when nothing can carry current or the file cannot be written (then no file is
    // left behind). Call once after BuildElementList.
    int BuildNetlist(const QString& strCirPath);
    // The same, giving the file's bytes instead of writing them.
    int BuildNetlist(QByteArray* pBytes);

    // What remains after BuildNetlist is the netlist in writing order; the instrument list
    // holds the meters and oscilloscopes, whose m_fValue[2] and [3] then tell whether input
    // 1 and input 2 are connected (0) or not (kNoValue).
    const CElementList& GetElementList() const { return m_elementList; }
    const CElementList& GetInstrumentList() const { return m_instrumentList; }
    int GetEarthNode() const { return m_nEarthNode; }
    int GetNodeCount() const { return m_nNodes; }

private:
    // Every terminal on one of pNodes[1..nCount-1] joins pNodes[0].
    void MergeNodes(const int* pNodes, int nCount);
    int BuildNetlistText(std::string* pText);
    void MergeConnections();
    void RemoveEarthing();
    void RemoveEarthlessKinds();
    void RemoveShortedElements();
    void CheckEarthSurvives();
    int RenumberNodes();
    void SplitTransformers();
    void ReplaceInstruments();
    void MarkDanglingNodes();
    int WriteNetlist(std::string& out);
    void WriteSubcircuit(std::string& out, const std::vector<CNetElement*>& elements,
                         const std::vector<std::pair<CNetElement*, int>>& channels, int nRef,
                         bool bFirst);
    void WriteElement(std::string& out, const CNetElement& element);

    int FindNode(int nNode);
    int CurrentNode(int nNode);
    bool IsDangling(int nNode) const {
        return nNode >= 1 && nNode <= m_nNodes && m_bDangling[std::size_t(nNode)] != 0;
    }

    CElementList m_elementList;
    CElementList m_instrumentList;
    // Kept only while the netlist is built: the K lines need the transformers.
    CElementList m_transformerList;
    int m_nEarthNode = -1;
    int m_nNodes = 0;
    int m_nInternalNode = 0;
    // Node numbers handed out by BuildElementList are 1..m_nNodeLimit-1.
    int m_nNodeLimit = 1;
    bool m_bBuilt = false;
    std::vector<char> m_bDangling;
    // Merging works on classes of node numbers: m_nParent is a union-find forest, and
    // m_nLabel[root] is the number every terminal of the class carries at that moment.
    std::vector<int> m_nParent;
    std::vector<int> m_nLabel;
};

CNetlist& Netlist();
